// SPDX-License-Identifier: MIT
#include "app/TfrmMain.h"
#include "app/Themes.h"
#include "core/Globals.h"
#include "core/SettingsFile.h"
#include "lang/LangMgr.h"
#include "scale/THidDeviceController.h"
#include "scale/VirtualHidBackend.h"
#include "support/MessageBoxRecorder.h"
#include "support/WaitUntil.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QByteArray LanguageFile(const char* name, const char* file, const char* connected) {
    return QByteArray("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<Root>\n  <Language Name=\"") + name +
           "\" LangId=\"1033\"/>\n  <TfrmMain>\n    <mnuFile Caption=\"" + file +
           "\"/>\n    <btnAbout Hint=\"" + name + " about\"/>\n  </TfrmMain>\n  <Text>\n    <Logined>" +
           name + " in</Logined>\n    <ScaleConnected>" + connected +
           "</ScaleConnected>\n    <ScaleDisconnected>" + name +
           " off</ScaleDisconnected>\n  </Text>\n</Root>\n";
}

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        Globals = TGlobals{};
        Globals.SettingsPath = folder.filePath(QStringLiteral("my.ini"));
        Globals.CurrentUserName = QStringLiteral("USER 1");
        TThemes::Select(TThemes::DefaultName);
    }
    void TearDown() override {
        TThemes::Select(TThemes::DefaultName);
        Globals = TGlobals{};
    }

    void UseLanguages(const QList<QByteArray>& files) {
        const QString lang = folder.filePath(QStringLiteral("Lang/"));
        QDir().mkpath(lang);
        for (int i = 0; i < files.size(); ++i) {
            QFile file(lang + QStringLiteral("lang%1.xml").arg(i));
            file.open(QIODevice::WriteOnly);
            file.write(files[i]);
        }
        LangMgr().LoadLanguageList(lang, false);
        if (!LangMgr().Languages().isEmpty())
            LangMgr().SetLanguage(LangMgr().Languages().front());
    }

    std::unique_ptr<TfrmMain> CreateWindow() {
        auto virtualBackend = std::make_unique<VirtualHidBackend>();
        backend = virtualBackend.get();
        auto window = std::make_unique<TfrmMain>(std::move(virtualBackend));
        window->FormCreate();
        return window;
    }

    static QStringList Captions(const QMenu* menu) {
        QStringList captions;
        for (const QAction* item : menu->actions())
            captions.append(item->text());
        return captions;
    }
    static QString Checked(const QMenu* menu) {
        for (const QAction* item : menu->actions())
            if (item->isChecked())
                return item->text();
        return QString();
    }

    QTemporaryDir folder;
    MessageBoxRecorder boxes;
    VirtualHidBackend* backend = nullptr;
};

} // namespace

TEST_F(MainWindowTest, LanguagesMenuIsHiddenWithOneLanguageAndListsTwoOrMore) {
    UseLanguages({LanguageFile("English", "File", "on")});
    EXPECT_FALSE(CreateWindow()->LanguagesMenu()->menuAction()->isVisible());

    UseLanguages({LanguageFile("English", "File", "on"), LanguageFile("Deutsch", "Datei", "an")});
    LangMgr().SetLanguage(QStringLiteral("deutsch"));
    auto window = CreateWindow();
    EXPECT_TRUE(window->LanguagesMenu()->menuAction()->isVisible());
    EXPECT_EQ(Captions(window->LanguagesMenu()), LangMgr().Languages());
    EXPECT_EQ(Checked(window->LanguagesMenu()), QStringLiteral("Deutsch"));
}

TEST_F(MainWindowTest, StatusBarShowsTheUserAndFollowsTheScale) {
    UseLanguages({LanguageFile("English", "File", "on")});
    auto window = CreateWindow();
    EXPECT_EQ(window->lblInfo1()->text(), QStringLiteral("USER 1 English in"));
    EXPECT_EQ(window->lblInfo2()->text(), QStringLiteral("English off"));

    VirtualScale& scale = backend->plugIn();
    ASSERT_TRUE(WaitUntil([&] { return window->lblInfo2()->text() == QStringLiteral("on"); }));
    EXPECT_NE(Globals.AttachedScale, nullptr);
    backend->unplug(scale);
    ASSERT_TRUE(WaitUntil([&] { return window->lblInfo2()->text() == QStringLiteral("English off"); }));
    EXPECT_EQ(Globals.AttachedScale, nullptr);
    backend->replug(scale);
    ASSERT_TRUE(WaitUntil([&] { return window->lblInfo2()->text() == QStringLiteral("on"); }));
}

TEST_F(MainWindowTest, ScalePluggedInBeforeTheWindowArrivesOnceTheLoopRuns) {
    auto virtualBackend = std::make_unique<VirtualHidBackend>();
    virtualBackend->plugIn();
    TfrmMain window(std::move(virtualBackend));
    window.FormCreate();
    EXPECT_EQ(window.lblInfo2()->text(), GetText("ScaleDisconnected"));
    EXPECT_EQ(Globals.AttachedScale, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return Globals.AttachedScale != nullptr; }));
    EXPECT_EQ(window.lblInfo2()->text(), GetText("ScaleConnected"));
}

TEST_F(MainWindowTest, OnlyTheFirstScaleIsTakenAndOtherDevicesAreIgnored) {
    auto window = CreateWindow();
    backend->plugIn({0x0FFF, 0x0002});
    backend->plugIn({0x0ABC, 0x0001});
    VirtualScale& first = backend->plugIn();
    VirtualScale& second = backend->plugIn();
    ASSERT_TRUE(WaitUntil([&] { return Globals.AttachedScale != nullptr; }));
    const THidDevice* attached = Globals.AttachedScale;
    EXPECT_EQ(attached->InstanceId(), first.instanceId());
    backend->unplug(second);
    QCoreApplication::processEvents();
    ASSERT_TRUE(WaitUntil([&] { return window->HidMgr()->Devices().size() == 3; }));
    EXPECT_EQ(Globals.AttachedScale, attached);
    backend->unplug(first);
    ASSERT_TRUE(WaitUntil([&] { return Globals.AttachedScale == nullptr; }));
}

TEST_F(MainWindowTest, ChoosingALanguageRetranslatesAtOnceAndComposesTheStatusTextsAgain) {
    UseLanguages({LanguageFile("English", "File", "on"), LanguageFile("Deutsch", "Datei", "an")});
    LangMgr().SetLanguage(QStringLiteral("English"));
    auto window = CreateWindow();
    QMenu* fileMenu = window->findChild<QMenu*>(QStringLiteral("mnuFile"));
    EXPECT_EQ(fileMenu->title(), QStringLiteral("File"));

    const int german = static_cast<int>(LangMgr().Languages().indexOf(QStringLiteral("Deutsch")));
    window->LanguagesMenu()->actions().at(german)->trigger();
    EXPECT_EQ(LangMgr().CurrentLanguage(), QStringLiteral("Deutsch"));
    EXPECT_EQ(fileMenu->title(), QStringLiteral("Datei"));
    EXPECT_EQ(window->findChild<QAction*>(QStringLiteral("btnAbout"))->toolTip(),
              QStringLiteral("Deutsch about"));
    EXPECT_EQ(Checked(window->LanguagesMenu()), QStringLiteral("Deutsch"));
    EXPECT_EQ(window->lblInfo1()->text(), QStringLiteral("USER 1 Deutsch in"));
    EXPECT_EQ(window->lblInfo2()->text(), QStringLiteral("Deutsch off"));
    backend->plugIn();
    EXPECT_TRUE(WaitUntil([&] { return window->lblInfo2()->text() == QStringLiteral("an"); }));
    // The scale line keeps saying what it said, in the language chosen now.
    window->LanguagesMenu()->actions().at(1 - german)->trigger();
    EXPECT_EQ(window->lblInfo2()->text(), QStringLiteral("on"));
    EXPECT_EQ(window->lblInfo1()->text(), QStringLiteral("USER 1 English in"));
}

TEST_F(MainWindowTest, QtsOwnButtonTextsFollowTheLanguage) {
    QByteArray german = LanguageFile("Deutsch", "Datei", "an");
    german.replace("LangId=\"1033\"", "LangId=\"1031\"");
    UseLanguages({LanguageFile("English", "File", "on"), german});
    LangMgr().SetLanguage(QStringLiteral("English"));
    auto window = CreateWindow();
    const int index = static_cast<int>(LangMgr().Languages().indexOf(QStringLiteral("Deutsch")));
    window->LanguagesMenu()->actions().at(index)->trigger();
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Abbrechen"));
    window->LanguagesMenu()->actions().at(1 - index)->trigger();
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Cancel"));
}

TEST_F(MainWindowTest, SkinsListDefaultThenTheThemesByName) {
    auto window = CreateWindow();
    const QStringList expected = {"Default",
                                  "Aluminum",
                                  "Athen",
                                  "Dream",
                                  "Eos",
                                  "Human",
                                  "Leopard",
                                  "Office 2003",
                                  "Office 2007 Black",
                                  "Office 2007 Blue",
                                  "Office 2007 Silver",
                                  "Office XP",
                                  "Xito"};
    EXPECT_EQ(Captions(window->SkinsMenu()), expected);
}

TEST_F(MainWindowTest, MissingSkinSelectsOffice2003AndWritesItBackAtDestruction) {
    {
        auto window = CreateWindow();
        EXPECT_EQ(TThemes::Current(), QStringLiteral("Office 2003"));
        EXPECT_EQ(Checked(window->SkinsMenu()), QStringLiteral("Office 2003"));
        EXPECT_FALSE(qApp->styleSheet().isEmpty());
    }
    EXPECT_EQ(ReadIniString(Globals.SettingsPath, "Common", "Skin", ""), QStringLiteral("Office 2003"));
}

TEST_F(MainWindowTest, SavedSkinNamesAreMatchedWithoutLetterCaseAndUnknownOnesIgnored) {
    const struct {
        const char* saved;
        const char* current;
    } cases[] = {{"xito", "Xito"}, {"DEFAULT", "Default"}, {"Windows 95", "Default"}};
    for (const auto& c : cases) {
        TThemes::Select(TThemes::DefaultName);
        WriteIniString(Globals.SettingsPath, "Common", "Skin", c.saved);
        {
            auto window = CreateWindow();
            EXPECT_EQ(TThemes::Current(), QLatin1String(c.current)) << c.saved;
        }
        EXPECT_EQ(ReadIniString(Globals.SettingsPath, "Common", "Skin", ""), QLatin1String(c.current))
            << c.saved;
    }
}

TEST_F(MainWindowTest, ChoosingASkinRestylesAtOnceAndMovesTheCheck) {
    auto window = CreateWindow();
    QAction* black = nullptr;
    for (QAction* item : window->SkinsMenu()->actions())
        if (item->text() == QStringLiteral("Office 2007 Black"))
            black = item;
    ASSERT_NE(black, nullptr);
    black->trigger();
    EXPECT_EQ(TThemes::Current(), QStringLiteral("Office 2007 Black"));
    EXPECT_EQ(Checked(window->SkinsMenu()), QStringLiteral("Office 2007 Black"));
    EXPECT_EQ(qApp->styleSheet(), TThemes::StyleSheet(QStringLiteral("Office 2007 Black")));
    window->SkinsMenu()->actions().front()->trigger();
    EXPECT_TRUE(qApp->styleSheet().isEmpty());
}

TEST_F(MainWindowTest, UnwritableSettingsAtDestructionAreShownByTheErrorHandler) {
    Globals.SettingsPath = folder.filePath(QStringLiteral("no/such/folder/my.ini"));
    CreateWindow().reset();
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_EQ(boxes.shown()[0].text,
              QStringLiteral("Unable to write to ") + Globals.SettingsPath + QLatin1Char('.'));
}

TEST(Themes, EveryNamedThemeHasItsOwnStyleSheet) {
    QSet<QString> sheets;
    for (const QString& name : TThemes::Names().mid(1)) {
        const QString sheet = TThemes::StyleSheet(name);
        EXPECT_FALSE(sheet.contains(QLatin1Char('%'))) << name.toStdString();
        sheets.insert(sheet);
    }
    EXPECT_EQ(sheets.size(), 12);
    EXPECT_TRUE(TThemes::StyleSheet(QStringLiteral("Default")).isEmpty());
}
