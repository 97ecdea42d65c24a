// SPDX-License-Identifier: MIT
#include "app/EntrySequence.h"

#include "about/Splash.h"
#include "about/TfrmLogo.h"
#include "app/DataSafety.h"
#include "app/QtTranslations.h"
#include "app/TfrmMain.h"
#include "core/AppPaths.h"
#include "core/Clock.h"
#include "core/ErrorHandler.h"
#include "core/Globals.h"
#include "core/MessageBox.h"
#include "core/ProgramLock.h"
#include "core/SettingsFile.h"
#include "lang/LangMgr.h"
#include "scale/HidBackend.h"
#include "store/TdmMain.h"
#include "users/TfrmLogin.h"

#include <QWidget>

namespace {

const QString SettingsSection = QStringLiteral("Common");
const QString LanguageKey = QStringLiteral("Lang");
constexpr int SplashMilliseconds = 2000;

} // namespace

void PrepareLanguage(const AppPaths& paths) {
    LangMgr().LoadLanguageList(paths.LanguageFolder(), true);
    Globals.SettingsPath = paths.SettingsPath();
    const QString savedLanguage =
        ReadIniString(Globals.SettingsPath, SettingsSection, LanguageKey, QString());
    if (!savedLanguage.isEmpty())
        LangMgr().SetLanguage(savedLanguage);
    FollowCurrentLanguageWithQtTexts();
}

int RunProgram(int argc, char** argv, const ProgramSetup& setup) {
    KeepSystemTimeZoneForTheRun();
    TApplication app(argc, argv);
    QCoreApplication::setApplicationName(setup.ApplicationName);
    QGuiApplication::setDesktopFileName(setup.ApplicationName); // matches the installed .desktop entry
    QGuiApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/body-fat-scale-128.png")));
    // The splash and the login come and go before the main window exists; only closing the main
    // window ends the program.
    QGuiApplication::setQuitOnLastWindowClosed(false);

    const AppPaths paths = AppPaths::ForExecutable(setup.DataSubfolder);
    PrepareLanguage(paths);
    // One program per data folder: a second one says so and ends before it touches the database.
    const TProgramLock running(paths.LockPath());
    if (running.HeldByAnotherProgram()) {
        ShowMessageBox(nullptr, GetText("AlreadyRunning"), GetText("Notify"), MB_OK | MB_ICONINFORMATION);
        return 1;
    }
    ShowSplashFor(SplashMilliseconds);

    TdmMain dataModule(paths.DatabaseFolder(), GetText("UserNameFmt"));
    SetDataModule(&dataModule);
    RunGuarded([&] { dataModule.DataModuleCreate(); });
    FreeSplash();

    if (!RunLoginDialog()) {
        SetDataModule(nullptr);
        return 0;
    }

    int exitCode = 0;
    {
        TfrmMain mainWindow(setup.CreateHidBackend());
        RunGuarded([&] { mainWindow.FormCreate(); });
        mainWindow.show();
        QGuiApplication::setQuitOnLastWindowClosed(true);
        exitCode = app.exec();

        try {
            WriteIniString(paths.SettingsPath(), SettingsSection, LanguageKey, LangMgr().CurrentLanguage());
        } catch (const std::exception& error) {
            ShowApplicationError(error);
            exitCode = 1;
        }
    } // the main window's destruction writes the theme
    RunAutomaticBackupAtExit(dataModule);
    SetDataModule(nullptr);
    return exitCode;
}
