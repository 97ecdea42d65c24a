// SPDX-License-Identifier: MIT
// Message lookup and language switching: GetText is called for every composed text, and the
// language list and a switch are on the start-up path.
#include "RunBenchmarks.h"
#include "core/WindowRegistry.h"
#include "lang/LangMgr.h"
#include "lang/MessageKeys.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <benchmark/benchmark.h>

namespace {

// Ten language files of the size the program ships: every key and a window element each.
class TLanguageFolder {
public:
    TLanguageFolder() {
        for (int language = 0; language < 10; ++language) {
            QString texts;
            for (const char* key : MessageKeys)
                texts +=
                    QStringLiteral("    <%1>Text of %1 in language %2, long enough to be a message.</%1>\n")
                        .arg(QLatin1String(key))
                        .arg(language);
            QString windows;
            for (int window = 0; window < 12; ++window) {
                windows += QStringLiteral("  <TfrmBench%1 Caption=\"Window %1\">\n").arg(window);
                for (int component = 0; component < 15; ++component)
                    windows += QStringLiteral("    <btnAction%1 Caption=\"Action %1\" Hint=\"Does %1\"/>\n")
                                   .arg(component);
                windows += QStringLiteral("  </TfrmBench%1>\n").arg(window);
            }
            const QString xml =
                QStringLiteral("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<BodyFatScale>\n"
                               "  <Language Name=\"Language %1\" LangId=\"%2\" Author=\"bench\"/>\n"
                               "%3  <Text>\n%4  </Text>\n</BodyFatScale>\n")
                    .arg(language)
                    .arg(language == 0 ? 1033 : 1100 + language)
                    .arg(windows, texts);
            QFile file(QDir(dir_.path()).filePath(QStringLiteral("lang%1.xml").arg(language)));
            file.open(QIODevice::WriteOnly);
            file.write(xml.toUtf8());
        }
    }
    QString Path() const { return dir_.path() + QLatin1Char('/'); }

private:
    QTemporaryDir dir_;
};

class TfrmBench0 : public QWidget {
    Q_OBJECT
public:
    TfrmBench0() {
        auto* layout = new QVBoxLayout(this);
        for (int i = 0; i < 15; ++i) {
            auto* button = new QPushButton(this);
            button->setObjectName(QStringLiteral("btnAction%1").arg(i));
            layout->addWidget(button);
        }
    }
};

void BM_GetText(benchmark::State& state) {
    TLanguageFolder folder;
    TLangMgr manager;
    manager.SetSystemLanguageIdSource([] { return 1033; });
    manager.LoadLanguageList(folder.Path(), true);
    size_t index = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(manager.GetText(MessageKeys[index]));
        index = (index + 1) % std::size(MessageKeys);
    }
}
BENCHMARK(BM_GetText);

void BM_GetTextMissingKey(benchmark::State& state) {
    TLanguageFolder folder;
    TLangMgr manager;
    manager.LoadLanguageList(folder.Path(), true);
    for (auto _ : state)
        benchmark::DoNotOptimize(manager.GetText("NoSuchKeyInTheTable"));
}
BENCHMARK(BM_GetTextMissingKey);

void BM_LoadLanguageListAndSetLanguage(benchmark::State& state) {
    TLanguageFolder folder;
    for (auto _ : state) {
        TLangMgr manager;
        manager.SetSystemLanguageIdSource([] { return 1105; });
        manager.LoadLanguageList(folder.Path(), true);
        manager.SetLanguage(QStringLiteral("Language 7"));
        benchmark::DoNotOptimize(manager.GetText("Notify"));
    }
    state.SetLabel("10 files");
}
BENCHMARK(BM_LoadLanguageListAndSetLanguage)->Unit(benchmark::kMillisecond);

void BM_TranslateForm(benchmark::State& state) {
    TLanguageFolder folder;
    TLangMgr manager;
    manager.LoadLanguageList(folder.Path(), true);
    TfrmBench0 window; // fifteen buttons, each addressed by the file
    for (auto _ : state)
        manager.TranslateForm(&window);
}
BENCHMARK(BM_TranslateForm)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    return RunBenchmarks(argc, argv);
}

#include "lang_bench.moc"
