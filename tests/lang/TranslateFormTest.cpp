// SPDX-License-Identifier: MIT
#include "lang/LangMgr.h"

#include "LangFolder.h"
#include "TestWindows.h"
#include "lang/TFont.h"
#include "lang/TStrings.h"

#include "QStringPrinter.h"

#include <gtest/gtest.h>
#include <memory>

namespace {

class TranslateFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        manager.SetSystemLanguageIdSource([] { return 1033; });
    }

    // One language "Test" whose body follows the Language element; made current.
    void UseLanguage(const QString& body, int langId = 1033) {
        folder.WriteLanguage(QStringLiteral("test.xml"), QStringLiteral("Test"), langId, body);
        manager.LoadLanguageList(folder.Path(), false);
        manager.SetLanguage(QStringLiteral("Test"));
        ASSERT_EQ(manager.CurrentLanguage(), QStringLiteral("Test"));
    }

    TLangFolder folder;
    TLangMgr manager;
};

TEST_F(TranslateFormTest, FindsComponentsAtAnyDepthWithoutRegardToCase) {
    auto window = std::make_unique<TfrmLangTest>();
    UseLanguage(QStringLiteral("<TfrmLangTest CAPTION=\"Translated title\">"
                               "  <BTNDELETE caption=\"Delete\" HINT=\"Deletes the row\"/>"
                               "  <lblinfo Caption=\"Info\"/>"
                               "  <GrpUser Caption=\"User\"/>"
                               "  <chkRemember Caption=\"Remember me\" Checked=\"1\"/>"
                               "  <mnuFile Caption=\"&amp;File\"/>"
                               "  <actExit Caption=\"E&amp;xit\" Hint=\"Leave the program\"/>"
                               "  <NoSuchComponent Caption=\"ignored\"/>"
                               "  <lblAfter NoSuchProperty=\"ignored\" tooltip=\"Qt name\"/>"
                               "</TfrmLangTest>"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Translated title"));
    EXPECT_EQ(window->btnDelete->text(), QStringLiteral("Delete"));
    EXPECT_EQ(window->btnDelete->toolTip(), QStringLiteral("Deletes the row"));
    EXPECT_EQ(window->lblInfo->text(), QStringLiteral("Info"));
    EXPECT_EQ(window->findChild<QGroupBox*>()->title(), QStringLiteral("User"));
    EXPECT_EQ(window->chkRemember->text(), QStringLiteral("Remember me"));
    EXPECT_TRUE(window->chkRemember->isChecked());
    EXPECT_EQ(window->mnuFile->title(), QStringLiteral("&File"));
    EXPECT_EQ(window->actExit->text(), QStringLiteral("E&xit"));
    EXPECT_EQ(window->actExit->toolTip(), QStringLiteral("Leave the program"));
    EXPECT_EQ(window->lblAfter->text(), QStringLiteral("Design after"));
    EXPECT_EQ(window->lblAfter->toolTip(), QStringLiteral("Qt name"));
}

TEST_F(TranslateFormTest, WindowCreatedLaterTranslatesItselfFromTheFileReadAnew) {
    UseLanguage(QStringLiteral("<TfrmLangTest Caption=\"First\"/>"));
    folder.WriteLanguage(QStringLiteral("test.xml"), QStringLiteral("Test"), 1033,
                         QStringLiteral("<TfrmLangTest Caption=\"Edited\"/>"));
    auto window = std::make_unique<TfrmLangTest>();
    manager.TranslateForm(window.get());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Edited"));
}

TEST_F(TranslateFormTest, WithoutCurrentLanguageOrElementTheWindowKeepsItsTexts) {
    auto window = std::make_unique<TfrmLangTest>();
    manager.TranslateForm(window.get()); // no language yet
    manager.TranslateForm(nullptr);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Design title"));
    UseLanguage(QStringLiteral("<TfrmOther Caption=\"Other\"/><tfrmlangtest Caption=\"Wrong case\"/>"));
    manager.TranslateForm(window.get());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Design title"));
}

TEST_F(TranslateFormTest, ListElementsReplaceTheEntriesLineByLine) {
    auto window = std::make_unique<TfrmLangTest>();
    window->cbbGender->setCurrentIndex(2);
    window->lstUsers->addItems({QStringLiteral("old")});
    UseLanguage(QStringLiteral("<TfrmLangTest><cbbGender><Items>\n"
                               "      Male  \n"
                               "\n"
                               "   Female\r\n"
                               "\tMale athlete\t\r"
                               "Female athlete\n"
                               "    </Items></cbbGender>"
                               "<memNotes><Lines>  first\n   second  </Lines></memNotes>"
                               "<lstUsers><items></items></lstUsers>"
                               "</TfrmLangTest>"));
    QStringList entries;
    for (int i = 0; i < window->cbbGender->count(); ++i)
        entries << window->cbbGender->itemText(i);
    EXPECT_EQ(entries, QStringList({QStringLiteral("Male"), QString(), QStringLiteral("Female"),
                                    QStringLiteral("Male athlete"), QStringLiteral("Female athlete")}));
    EXPECT_EQ(window->cbbGender->currentIndex(), 2); // the selection survives a language switch
    EXPECT_EQ(window->memNotes->toPlainText(), QStringLiteral("first\nsecond"));
    EXPECT_EQ(window->lstUsers->count(), 0);

    auto* strings = window->memNotes->findChild<TStrings*>();
    ASSERT_NE(strings, nullptr);
    EXPECT_STREQ(strings->metaObject()->className(), "TWideMemoStrings");
    EXPECT_EQ(strings->Text(), QStringLiteral("first\nsecond\n"));
    EXPECT_STREQ(window->cbbGender->findChild<TStrings*>()->metaObject()->className(),
                 "TWideComboBoxStrings");
}

TEST_F(TranslateFormTest, ListColumnsTakeNoCaptionsFromTheFile) {
    auto window = std::make_unique<TfrmLangTest>();
    UseLanguage(QStringLiteral("<TfrmLangTest><lv1><Columns Caption=\"x\" Count=\"7\">"
                               "<Column Caption=\"Date\"/></Columns></lv1></TfrmLangTest>"));
    EXPECT_EQ(window->lv1->headerItem()->text(0), QStringLiteral("Design date"));
    EXPECT_EQ(window->lv1->columnCount(), 2);
}

TEST_F(TranslateFormTest, PropertiesAreSetByKind) {
    struct Case {
        const char* attributes;
        std::function<bool(const TPropsWidget&)> holds;
    };
    const Case cases[] = {
        {"Count=\"42\"", [](const TPropsWidget& w) { return w.Count == 42; }},
        {"count=\"-7\"", [](const TPropsWidget& w) { return w.Count == -7; }},
        {"Mode=\"2\"", [](const TPropsWidget& w) { return w.Mode == TPropsWidget::mdThird; }},
        {"Options=\"5\"",
         [](const TPropsWidget& w) { return w.Options == (TPropsWidget::opA | TPropsWidget::opC); }},
        {"Flag=\"1\"", [](const TPropsWidget& w) { return w.Flag; }},
        {"enabled=\"0\"", [](const TPropsWidget& w) { return !w.isEnabled(); }},
        {"WideCaption=\"Ünïcødé 中文\"",
         [](const TPropsWidget& w) { return w.WideCaption == QStringLiteral("Ünïcødé 中文"); }},
        {"AnsiCaption=\"Café\"",
         [](const TPropsWidget& w) { return w.AnsiCaption == QByteArray("Caf\xe9"); }},
        // Kinds that are not set from the file: floating point, 64-bit integers, objects.
        {"Ratio=\"1.5\" Big=\"5\" Buddy=\"x\" Font=\"x\"",
         [](const TPropsWidget& w) { return w.Ratio == 0 && w.Big == 0 && !w.Buddy; }},
    };
    for (const Case& c : cases) {
        auto window = std::make_unique<TfrmLangTest>();
        UseLanguage(QStringLiteral("<TfrmLangTest><wdgProps %1/></TfrmLangTest>")
                        .arg(QString::fromUtf8(c.attributes)));
        EXPECT_TRUE(c.holds(*window->props)) << c.attributes;
    }
}

TEST_F(TranslateFormTest, EightBitTextUsesTheCodePageOfTheLanguage) {
    struct Case {
        int langId;
        const char16_t* text;
        QByteArray ansi;
    };
    const Case cases[] = {
        {1049, u"Привет", QByteArray("\xcf\xf0\xe8\xe2\xe5\xf2")},
        {1033, u"Привет", QByteArray(6, '?')},
        {1031, u"Grüße €", QByteArray("Gr\xfc\xdf\x65 \x80")},
        {2052, u"中文", QByteArray("\xd6\xd0\xce\xc4")},
        {1041, u"日本", QByteArray("\x93\xfa\x96\x7b")},
    };
    for (const Case& c : cases) {
        auto window = std::make_unique<TfrmLangTest>();
        UseLanguage(QStringLiteral("<TfrmLangTest><wdgProps AnsiCaption=\"%1\"/></TfrmLangTest>")
                        .arg(QString::fromUtf16(c.text)),
                    c.langId);
        EXPECT_EQ(window->props->AnsiCaption.toHex(), c.ansi.toHex()) << c.langId;
    }
}

TEST_F(TranslateFormTest, TextWhereANumberBelongsEndsOnlyThatWindow) {
    for (const char* bad :
         {"Count=\"abc\"", "Mode=\"mdSecond\"", "Options=\"[opA]\"", "Flag=\"true\"", "Count=\"\""}) {
        auto window = std::make_unique<TfrmLangTest>();
        auto other = std::make_unique<TfrmOther>();
        UseLanguage(QStringLiteral("<TfrmLangTest Caption=\"Set before\">"
                                   "<lblInfo Caption=\"Info before\"/>"
                                   "<wdgProps WideCaption=\"before\" %1 enabled=\"0\"/>"
                                   "<lblAfter Caption=\"After\"/>"
                                   "</TfrmLangTest>"
                                   "<TfrmOther Caption=\"Other translated\"/>")
                        .arg(QLatin1String(bad)));
        EXPECT_EQ(window->windowTitle(), QStringLiteral("Set before")) << bad;
        EXPECT_EQ(window->lblInfo->text(), QStringLiteral("Info before")) << bad;
        EXPECT_EQ(window->props->WideCaption, QStringLiteral("before")) << bad;
        EXPECT_TRUE(window->props->isEnabled()) << bad;
        EXPECT_EQ(window->lblAfter->text(), QStringLiteral("Design after")) << bad;
        EXPECT_EQ(other->windowTitle(), QStringLiteral("Other translated")) << bad;
        // The window's own creation path stops at the same place.
        window->lblAfter->setText(QStringLiteral("Design after"));
        manager.TranslateForm(window.get());
        EXPECT_EQ(window->lblAfter->text(), QStringLiteral("Design after")) << bad;
    }
}

TEST_F(TranslateFormTest, FailingDefaultAttributeEndsOnlyThatWindow) {
    // TfrmOther has an int Count; TfrmLangTest has none, so the default fails there alone.
    auto window = std::make_unique<TfrmLangTest>();
    auto other = std::make_unique<TfrmOther>();
    UseLanguage(
        QStringLiteral("<Default Count=\"9\"/>"
                       "<TfrmLangTest Caption=\"Never set\"><btnDelete Caption=\"Never\"/></TfrmLangTest>"
                       "<TfrmOther Caption=\"Other translated\"/>"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Design title"));
    EXPECT_EQ(window->btnDelete->text(), QStringLiteral("Design delete"));
    EXPECT_EQ(other->windowTitle(), QStringLiteral("Other translated"));
    EXPECT_EQ(other->Count, 9);

    auto third = std::make_unique<TfrmOther>();
    UseLanguage(QStringLiteral("<Default Count=\"nine\"/><TfrmOther Caption=\"Never\"/>"));
    EXPECT_EQ(third->windowTitle(), QStringLiteral("Design other"));
}

TEST_F(TranslateFormTest, DefaultAttributesGoThroughTheGeneralSetter) {
    struct Case {
        const char* attribute;
        std::function<bool(const TPropsWidget&)> holds;
    };
    const Case cases[] = {
        {"Mode=\"mdSecond\"", [](const TPropsWidget& w) { return w.Mode == TPropsWidget::mdSecond; }},
        {"Mode=\"2\"", [](const TPropsWidget& w) { return w.Mode == TPropsWidget::mdThird; }},
        {"Options=\"[opA, opC]\"",
         [](const TPropsWidget& w) { return w.Options == (TPropsWidget::opA | TPropsWidget::opC); }},
        {"Options=\"opB\"", [](const TPropsWidget& w) { return w.Options == TPropsWidget::opB; }},
        {"Options=\"[]\"", [](const TPropsWidget& w) { return w.Options == TPropsWidget::TOptions(); }},
        {"Ratio=\"1,5\"", [](const TPropsWidget& w) { return w.Ratio == 1.5; }},
        {"Ratio=\"2.25\"", [](const TPropsWidget& w) { return w.Ratio == 2.25; }},
        {"Flag=\"True\"", [](const TPropsWidget& w) { return w.Flag; }},
        {"Big=\"5000000000\"", [](const TPropsWidget& w) { return w.Big == 5000000000LL; }},
        {"AnsiCaption=\"Café\"",
         [](const TPropsWidget& w) { return w.AnsiCaption == QByteArray("Caf\xe9"); }},
    };
    for (const Case& c : cases) {
        auto widget = std::make_unique<TPropsWidget>(); // a window of its own
        JoinWindowRegistry(widget.get());
        UseLanguage(QStringLiteral("<Default %1/><TPropsWidget/>").arg(QString::fromUtf8(c.attribute)));
        EXPECT_TRUE(c.holds(*widget)) << c.attribute;
    }
    for (const char* bad : {"Mode=\"mdFourth\"", "Options=\"[opA, opZ]\"", "Ratio=\"wide\"", "Buddy=\"x\"",
                            "Count=\"1.5\"", "Missing=\"1\""}) {
        auto widget = std::make_unique<TPropsWidget>();
        JoinWindowRegistry(widget.get());
        UseLanguage(
            QStringLiteral("<Default %1/><TPropsWidget WideCaption=\"set\"/>").arg(QLatin1String(bad)));
        EXPECT_EQ(widget->WideCaption, QString()) << bad;
    }
}

TEST_F(TranslateFormTest, FontIsAnObjectPropertyReachedThroughItsAdapter) {
    auto window = std::make_unique<TfrmLangTest>();
    UseLanguage(QStringLiteral("<Default><Font Size=\"13\"/></Default>"
                               "<TfrmLangTest>"
                               "  <btnDelete><Font Size=\"17\" Style=\"3\" Color=\"#336699\"/></btnDelete>"
                               "  <lblInfo/>"
                               "  <actExit/>"
                               "</TfrmLangTest>"));
    const QFont button = window->btnDelete->font();
    EXPECT_EQ(button.pointSize(), 17);
    EXPECT_TRUE(button.bold());
    EXPECT_TRUE(button.italic());
    EXPECT_FALSE(button.underline());
    EXPECT_EQ(window->btnDelete->palette().color(QPalette::ButtonText), QColor(0x33, 0x66, 0x99));
    EXPECT_EQ(window->lblInfo->font().pointSize(), 13);
    EXPECT_EQ(window->font().pointSize(), 13);
    EXPECT_EQ(window->actExit->font().pointSize(), 13);
    auto* adapter = window->btnDelete->findChild<TFont*>();
    ASSERT_NE(adapter, nullptr);
    EXPECT_EQ(adapter->Style(), TFont::fsBold | TFont::fsItalic);

    // A font element sets its attributes one by one, so a set there wants a bit mask like any
    // other; member names end the window's translation.
    UseLanguage(
        QStringLiteral("<Default><Font Style=\"[fsUnderline]\"/></Default><TfrmLangTest Caption=\"No\"/>"));
    EXPECT_FALSE(window->font().underline());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Design title"));
}

TEST_F(TranslateFormTest, LanguageSwitchKeepsWhatTheNewFileDoesNotAddress) {
    auto window = std::make_unique<TfrmLangTest>();
    folder.WriteLanguage(
        QStringLiteral("a.xml"), QStringLiteral("A"), 1033,
        QStringLiteral("<TfrmLangTest Caption=\"Title A\"><btnDelete Caption=\"Delete A\"/></TfrmLangTest>"));
    folder.WriteLanguage(QStringLiteral("b.xml"), QStringLiteral("B"), 1031,
                         QStringLiteral("<TfrmLangTest Caption=\"Title B\"/>"));
    manager.LoadLanguageList(folder.Path(), false);
    manager.SetLanguage(QStringLiteral("A"));
    manager.SetLanguage(QStringLiteral("B"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Title B"));
    EXPECT_EQ(window->btnDelete->text(), QStringLiteral("Delete A"));
}

TEST_F(TranslateFormTest, WindowDestroyedByAnotherWindowsTranslationIsPassedOver) {
    auto window = std::make_unique<TfrmLangTest>();
    auto* other = new TfrmOther;
    QObject::connect(window->btnDelete, &QAbstractButton::toggled, [other] { delete other; });
    window->btnDelete->setCheckable(true);
    UseLanguage(QStringLiteral("<TfrmLangTest><btnDelete Checked=\"1\"/></TfrmLangTest>"
                               "<TfrmOther Caption=\"x\"/>"));
    EXPECT_TRUE(window->btnDelete->isChecked());
}

TEST_F(TranslateFormTest, FilesCutShortAnywhereAreHandledWithoutHarm) {
    auto window = std::make_unique<TfrmLangTest>();
    const QByteArray whole =
        TLangFolder::LanguageXml(
            QStringLiteral("Cut"), 1033,
            QStringLiteral("<Default><Font Size=\"11\"/></Default>"
                           "<TfrmLangTest Caption=\"T\"><cbbGender><Items>a\nb</Items></cbbGender>"
                           "<wdgProps Count=\"3\" AnsiCaption=\"\u00e9\"/></TfrmLangTest>"
                           "<Text><Notify>N</Notify></Text>"))
            .toUtf8();
    for (int length = 0; length <= whole.size(); ++length) {
        folder.Write(QStringLiteral("cut.xml"), whole.left(length));
        manager.LoadLanguageList(folder.Path(), true);
        manager.SetLanguage(QStringLiteral("Cut"));
        manager.TranslateForm(window.get());
        EXPECT_EQ(manager.Languages().size(), manager.FileNames().size());
    }
    EXPECT_EQ(window->windowTitle(), QStringLiteral("T"));
    EXPECT_EQ(manager.GetText("Notify"), QStringLiteral("N"));
}

} // namespace
