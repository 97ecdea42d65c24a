// SPDX-License-Identifier: MIT
#include "ChartsFixture.h"

#include "charts/TfrmMyChartPreview.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace {

QString SourceFolder() {
    const QByteArray fromEnvironment = qgetenv("BFS_SOURCE_DIR");
    return fromEnvironment.isEmpty() ? QStringLiteral(BFS_SOURCE_DIR_AT_BUILD)
                                     : QString::fromLocal8Bit(fromEnvironment);
}

// The program's English file names the components the chart windows really have.
class EnglishTextsTest : public ChartsTest {
protected:
    void SetUp() override {
        ChartsTest::SetUp();
        LangMgr().LoadLanguageList(SourceFolder() + QStringLiteral("/resources/Lang/"), false);
        LangMgr().SetLanguage(QStringLiteral("English"));
        ASSERT_EQ(LangMgr().CurrentLanguage(), "English");
    }
};

template <typename T> QString CaptionOf(QWidget* window, const char* name) {
    const T* widget = window->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    if (!widget)
        return QString();
    if constexpr (std::is_same_v<T, QGroupBox>)
        return widget->title();
    else
        return widget->text();
}

TEST_F(EnglishTextsTest, ChartViewAndPreviewAreTranslated) {
    // The design texts are replaced first, so that a text left untranslated shows.
    TfrmChat* form = Open();
    for (QPushButton* button : form->findChildren<QPushButton*>())
        button->setText(QString());
    LangMgr().TranslateForm(form);
    EXPECT_EQ(form->windowTitle(), "Chart");
    EXPECT_EQ(CaptionOf<QLabel>(form, "Label1"), "From:");
    EXPECT_EQ(CaptionOf<QPushButton>(form, "btnFilter"), "Date Filter");
    EXPECT_EQ(CaptionOf<QPushButton>(form, "btnPreviewFat"), "Preview Fat");
    EXPECT_EQ(form->chtWeight()->Title(), "Weight Chart");
    EXPECT_EQ(form->chtWeight()->LeftAxisTitle(), "Weight  Unit:KG");

    TfrmMyChartPreview preview(form);
    for (QPushButton* button : preview.findChildren<QPushButton*>())
        button->setText(QString());
    preview.FormCreate();
    EXPECT_EQ(preview.windowTitle(), "Chart Print Preview");
    EXPECT_EQ(CaptionOf<QLabel>(&preview, "Label1"), "P&rinter:");
    EXPECT_EQ(CaptionOf<QPushButton>(&preview, "BSetupPrinter"), "&Setup...");
    EXPECT_EQ(CaptionOf<QPushButton>(&preview, "BReset"), "Reset &Margins");
    EXPECT_EQ(CaptionOf<QGroupBox>(&preview, "Orientation"), "Orien&tation:");
    EXPECT_EQ(CaptionOf<QRadioButton>(&preview, "OrientationLandscape"), "&Landscape");
    EXPECT_EQ(CaptionOf<QGroupBox>(&preview, "ChangeDetailGroup"), "Detail:");
}

} // namespace
