// SPDX-License-Identifier: MIT
// Start-up and main-window costs: how long a fresh process takes to show the login (without the
// splash's fixed wait), how long the main window takes to open, how long a language switch takes
// with the main window and two child windows open, and the memory of the idle program.
#include "RunBenchmarks.h"
#include "app/EntrySequence.h"
#include "app/TfrmMain.h"
#include "charts/TfrmChat.h"
#include "core/AppPaths.h"
#include "core/ErrorHandler.h"
#include "core/Globals.h"
#include "lang/LangMgr.h"
#include "records/TfrmMyData.h"
#include "scale/VirtualHidBackend.h"
#include "store/TdmMain.h"
#include "users/TfrmLogin.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace {

QString LanguageFolder() {
    return QStringLiteral(BFS_LANG_DIR "/");
}

// Seconds since this process started, from /proc/self/stat (field 22, in clock ticks).
double ProcessAgeMs() {
    std::ifstream stat("/proc/self/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    std::istringstream fields(text.substr(text.rfind(')') + 2));
    std::string field;
    for (int i = 3; i <= 22 && fields >> field; ++i) {
    }
    const double startTicks = std::stod(field);
    std::ifstream uptimeFile("/proc/uptime");
    double uptime = 0;
    uptimeFile >> uptime;
    return (uptime - startTicks / static_cast<double>(sysconf(_SC_CLK_TCK))) * 1000.0;
}

// The child process: the entry sequence up to the login shown, on a first run.
int StartToLogin(int argc, char** argv) {
    TApplication app(argc, argv);
    QTemporaryDir folder;
    const AppPaths paths(folder.path(), folder.path(), LanguageFolder());
    PrepareLanguage(paths);
    TdmMain dataModule(paths.DatabaseFolder(), GetText("UserNameFmt"));
    SetDataModule(&dataModule);
    dataModule.DataModuleCreate();
    TfrmLogin login;
    login.FormCreate();
    login.show();
    if (!QTest::qWaitForWindowExposed(&login))
        std::abort();
    printf("%.3f\n", ProcessAgeMs());
    SetDataModule(nullptr);
    return 0;
}

void BM_StartToLoginShown(benchmark::State& state) {
    for (auto _ : state) {
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--start-to-login")});
        child.waitForFinished(10000);
        const double ms = child.readAllStandardOutput().trimmed().toDouble();
        state.SetIterationTime(ms / 1000.0);
    }
}
BENCHMARK(BM_StartToLoginShown)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

class LoggedIn {
public:
    LoggedIn() : dataModule(folder.filePath(QStringLiteral("db")), QString()) {
        LangMgr().LoadLanguageList(LanguageFolder(), true);
        dataModule.DataModuleCreate();
        SetDataModule(&dataModule);
        Globals.SettingsPath = folder.filePath(QStringLiteral("my.ini"));
        Globals.CurrentUserId = 1;
        Globals.CurrentUserName = QStringLiteral("USER 1");
    }
    ~LoggedIn() { SetDataModule(nullptr); }
    QTemporaryDir folder;
    TdmMain dataModule;
};

void BM_OpenMainWindow(benchmark::State& state) {
    LoggedIn session;
    for (auto _ : state) {
        TfrmMain window(std::make_unique<VirtualHidBackend>());
        window.FormCreate();
        window.show();
        if (!QTest::qWaitForWindowExposed(&window))
            std::abort();
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_OpenMainWindow)->Unit(benchmark::kMillisecond);

void BM_SetLanguageWithMainWindowAndTwoChildren(benchmark::State& state) {
    LoggedIn session;
    TfrmMain window(std::make_unique<VirtualHidBackend>());
    window.FormCreate();
    window.show();
    ShowMyData(window.ClientArea());
    ShowChartView(window.ClientArea());
    QCoreApplication::processEvents();
    const QString language = LangMgr().Languages().value(0);
    for (auto _ : state)
        LangMgr().SetLanguage(language);
}
BENCHMARK(BM_SetLanguageWithMainWindowAndTwoChildren)->Unit(benchmark::kMillisecond);

long ResidentKilobytes() {
    QFile status(QStringLiteral("/proc/self/status"));
    status.open(QIODevice::ReadOnly);
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return 0;
}

void BM_IdleResidentMemory(benchmark::State& state) {
    LoggedIn session;
    TfrmMain window(std::make_unique<VirtualHidBackend>());
    window.FormCreate();
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        std::abort();
    for (auto _ : state)
        QCoreApplication::processEvents();
    state.counters["RSS_MB"] = static_cast<double>(ResidentKilobytes()) / 1024.0;
}
BENCHMARK(BM_IdleResidentMemory)->Iterations(10);

} // namespace

int main(int argc, char** argv) {
    if (argc > 1 && QByteArray(argv[1]) == "--start-to-login")
        return StartToLogin(argc, argv);
    return RunBenchmarks(argc, argv);
}
