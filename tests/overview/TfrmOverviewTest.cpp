// SPDX-License-Identifier: MIT
// The overview window: what it shows in either unit, without data, profile or goal, its single
// instance and its place after login.
#include "support/MessageBoxRecorder.h"

#include "core/Clock.h"
#include "core/Globals.h"
#include "core/SettingsFile.h"
#include "core/Units.h"
#include "lang/LangMgr.h"
#include "overview/TBmiBar.h"
#include "overview/TSparkline.h"
#include "overview/TfrmOverview.h"
#include "store/Goals.h"
#include "store/Statements.h"
#include "store/TdmMain.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace {

class OverviewTest : public ::testing::Test {
protected:
    static inline const QDate Today{2024, 3, 31};

    void SetUp() override {
        Globals = TGlobals{};
        Globals.CurrentUserId = 1;
        Globals.SettingsPath = folder.filePath(QStringLiteral("my.ini"));
        LangMgr().LoadLanguageList(QStringLiteral(BFS_LANG_FOLDER), false);
        LangMgr().SetLanguage(QStringLiteral("English"));
        store = std::make_unique<TdmMain>(folder.filePath(QStringLiteral("db")), QString());
        store->DataModuleCreate();
        SetDataModule(store.get());
        previousClock = SetClock([] { return QDateTime(Today, QTime(8, 0)); });
        area = std::make_unique<QMdiArea>();
        area->resize(1100, 800);
        area->show();
    }

    void TearDown() override {
        area.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        SetClock(previousClock);
        SetDataModule(nullptr);
        Globals = TGlobals{};
    }

    void Add(int daysAgo, double weight, double fat = 20.0, int user = 1) {
        store->ExecuteSql(SqlInsertMeasurement(user, Today.addDays(-daysAgo), weight, fat, 55.0, 40.0, 3.1));
    }
    // A man of 40 at 180 cm.
    void SaveProfile() {
        store->ExecuteSql(QStringLiteral("update P_USERS set SEX = 0, BIRTHDAY = '1984-01-01', HEIGHT = 180, "
                                         "HEIGHT_EN = 71 where USER_ID = 1"));
    }

    TfrmOverview* Open() {
        TfrmOverview* form = ShowOverview(area.get());
        QCoreApplication::processEvents();
        return form;
    }
    static QString Text(TfrmOverview* form, const char* label) {
        QLabel* found = form->findChild<QLabel*>(QLatin1String(label));
        EXPECT_NE(found, nullptr) << label;
        return found ? found->text() : QString();
    }
    static bool Shown(TfrmOverview* form, const char* name) {
        QWidget* found = form->findChild<QWidget*>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found && found->isVisibleTo(form);
    }
    static int Page(TfrmOverview* form) {
        return form->findChild<QStackedWidget*>(QStringLiteral("pnlPages"))->currentIndex();
    }

    QTemporaryDir folder;
    std::unique_ptr<TdmMain> store;
    std::unique_ptr<QMdiArea> area;
    std::function<QDateTime()> previousClock;
    MessageBoxRecorder boxes;
};

TEST_F(OverviewTest, WithoutMeasurementsItSaysSoAndOffersTheImport) {
    Add(3, 70.0, 20.0, 2); // another user's
    TfrmOverview* form = Open();
    EXPECT_EQ(Page(form), 1);
    EXPECT_TRUE(Shown(form, "btnImport"));
    EXPECT_FALSE(Text(form, "lblNoData").isEmpty());
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(OverviewTest, ShowsTheLatestMeasurementTheTrendsChangeAndTheBodyInEitherUnit) {
    SaveProfile();
    for (int daysAgo = 100; daysAgo >= 1; --daysAgo)
        Add(daysAgo, 82.0 - 0.01 * (100 - daysAgo), 25.0);
    Add(0, 81.0, 25.0); // BMI 25.0 at 180 cm

    struct Case {
        int unit;
        QString weight;
        QString fatMass;
        const char* unitKey;
    };
    const Case cases[] = {
        {0, QStringLiteral("81.0 KG"), QStringLiteral("20.3 KG"), "KG"},
        {1, QString::number(KgToLb(81.0), 'f', 1) + QStringLiteral(" LB"),
         QString::number(KgToLbExact(20.25), 'f', 1) + QStringLiteral(" LB"), "LB"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.unit);
        Globals.CurrentUnit = c.unit;
        TfrmOverview* form = Open();
        EXPECT_EQ(Page(form), 0);
        EXPECT_EQ(Text(form, "lblLatestWeight"), c.weight);
        EXPECT_EQ(Text(form, "lblLatestDate"), QStringLiteral("Measured on 2024-03-31"));
        EXPECT_EQ(Text(form, "lblFat"), QStringLiteral("25.0 %"));
        EXPECT_EQ(Text(form, "lblFatMass"), c.fatMass);
        for (const char* change : {"lblChange7", "lblChange30", "lblChange90"}) {
            EXPECT_TRUE(Text(form, change).startsWith(QChar(0x2212))) << change << " is a loss";
            EXPECT_TRUE(Text(form, change).endsWith(GetText(c.unitKey))) << change;
        }
        EXPECT_EQ(Text(form, "lblBmi"), QStringLiteral("25.0"));
        EXPECT_EQ(Text(form, "lblBmiBand"), GetText("BmiBandPreObese"));
        ASSERT_TRUE(form->findChild<TBmiBar*>(QStringLiteral("pbxBmi"))->Value().has_value());
        EXPECT_EQ(Text(form, "lblBmrMsj"), QStringLiteral("1740 kcal per day")); // 810 + 1125 - 200 + 5
        EXPECT_EQ(Text(form, "lblBmrKm"), QStringLiteral("1682 kcal per day"));  // 370 + 21.6 × 60.75
        EXPECT_FALSE(Shown(form, "lblBmiNeedsProfile"));
    }
}

TEST_F(OverviewTest, WithoutASavedProfileOnlyWhatNeedsNoneIsShown) {
    Add(0, 81.0, 25.0);
    TfrmOverview* form = Open();
    EXPECT_TRUE(Shown(form, "lblBmiNeedsProfile"));
    EXPECT_FALSE(Shown(form, "lblBmi"));
    EXPECT_FALSE(form->findChild<TBmiBar*>(QStringLiteral("pbxBmi"))->Value().has_value());
    EXPECT_EQ(Text(form, "lblBmrMsj"), GetText("OverviewNeedsProfile"));
    EXPECT_EQ(Text(form, "lblBmrKm"), QStringLiteral("1682 kcal per day"));
    EXPECT_EQ(Text(form, "lblChange7"), GetText("OverviewNotEnoughData")) << "one day is no change";
}

TEST_F(OverviewTest, GoalProgressForAFallingARisingAndNoTrend) {
    struct Case {
        double perDay; // the daily step of the weight over the last 60 days
        double goal;
        QDate target;
        QString left;
        QString reached; // the key of the text, or the date
        QString target_text;
    };
    const Case cases[] = {
        {-0.1, 70.0, QDate(2025, 1, 1), QString(), QString(), QString()},
        {+0.1, 70.0, QDate(), QString(), GetText("OverviewNotAtThisRate"), GetText("OverviewNoTargetDate")},
        {0.0, 80.0, QDate(2024, 4, 1), GetText("OverviewGoalReached"), GetText("OverviewGoalReached"),
         QStringLiteral("2024-04-01")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.perDay);
        store->ExecuteSql(QStringLiteral("delete from P_DATA"));
        for (int daysAgo = 60; daysAgo >= 0; --daysAgo)
            Add(daysAgo, 80.0 + c.perDay * (60 - daysAgo));
        SaveGoal(*store, 1, TGoal{c.goal, c.target});
        TfrmOverview* form = Open();
        ASSERT_TRUE(Shown(form, "pnlGoalFigures"));
        EXPECT_FALSE(Shown(form, "lblNoGoal"));
        EXPECT_EQ(Text(form, "lblGoalWeight"), QString::number(c.goal, 'f', 1) + QStringLiteral(" KG"));
        const TGoalProjection& projection = *form->Figures().Projection;
        if (c.perDay < 0) {
            EXPECT_TRUE(Text(form, "lblGoalLeft").endsWith(QStringLiteral("KG to lose")));
            EXPECT_EQ(Text(form, "lblGoalRate"), QStringLiteral("\u22120.7 KG per week"));
            ASSERT_TRUE(projection.ReachedOn.has_value());
            EXPECT_EQ(Text(form, "lblGoalDate"),
                      projection.ReachedOn->toString(QStringLiteral("yyyy-MM-dd")));
            EXPECT_EQ(Text(form, "lblGoalTarget"),
                      QStringLiteral("2025-01-01 \u2013 ") + GetText("OverviewOnTrack"));
        } else if (c.perDay > 0) {
            EXPECT_TRUE(Text(form, "lblGoalLeft").endsWith(QStringLiteral("KG to lose")));
            EXPECT_EQ(Text(form, "lblGoalRate"), QStringLiteral("+0.7 KG per week"));
            EXPECT_EQ(Text(form, "lblGoalDate"), c.reached);
            EXPECT_EQ(Text(form, "lblGoalTarget"), c.target_text);
        } else {
            EXPECT_EQ(Text(form, "lblGoalLeft"), c.left);
            EXPECT_EQ(Text(form, "lblGoalDate"), c.reached);
            EXPECT_EQ(Text(form, "lblGoalTarget"), c.target_text);
        }
        form->parentWidget()->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

TEST_F(OverviewTest, ALanguageSwitchComposesEveryTextAgain) {
    SaveProfile();
    Add(8, 81.5);
    Add(0, 81.0);
    TfrmOverview* form = Open();
    LangMgr().SetLanguage(QStringLiteral("Deutsch"));
    QCoreApplication::processEvents();
    EXPECT_EQ(form->parentWidget()->windowTitle(), QStringLiteral("\u00dcbersicht"));
    EXPECT_EQ(Text(form, "lblLatestDate"), QStringLiteral("Gemessen am 2024-03-31"));
    EXPECT_EQ(Text(form, "lblBmiBand"), GetText("BmiBandPreObese"));
    EXPECT_EQ(Text(form, "lblNoGoal"), GetText("OverviewNoGoal"));
    EXPECT_EQ(Text(form, "lblChange30"), GetText("OverviewNotEnoughData"));
    EXPECT_EQ(Text(form, "lblFatCaption"), GetText("FAT"));
    EXPECT_EQ(Text(form, "lblBmrKm"), QStringLiteral("1770 kcal pro Tag"));
    LangMgr().SetLanguage(QStringLiteral("English"));
}

TEST_F(OverviewTest, WithoutAGoalItSaysHowToSetOne) {
    Add(0, 80.0);
    TfrmOverview* form = Open();
    EXPECT_TRUE(Shown(form, "lblNoGoal"));
    EXPECT_FALSE(Shown(form, "pnlGoalFigures"));
    EXPECT_EQ(Text(form, "lblNoGoal"), GetText("OverviewNoGoal"));
}

TEST_F(OverviewTest, ExistsOnceFollowsNewDataAndStartsAfreshOnceClosed) {
    Add(1, 80.0);
    TfrmOverview* form = Open();
    EXPECT_EQ(Open(), form);
    EXPECT_EQ(area->subWindowList().size(), 1);

    Add(0, 79.0);
    RefreshOverviewIfOpen();
    EXPECT_EQ(Text(form, "lblLatestWeight"), QStringLiteral("79.0 KG"));

    form->parentWidget()->close();
    EXPECT_EQ(OverviewWindow(), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    RefreshOverviewIfOpen(); // nothing open: nothing happens
    TfrmOverview* again = Open();
    EXPECT_NE(again, nullptr);
    EXPECT_EQ(area->subWindowList().size(), 1);
}

TEST_F(OverviewTest, AStoreThatCannotBeReadKeepsItClosedAfterLoginWithoutAMessage) {
    store->ExecuteSql(QStringLiteral("drop table P_DATA"));
    ShowOverviewAfterLogin(area.get());
    EXPECT_EQ(OverviewWindow(), nullptr);
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(OverviewTest, OpensAfterLoginOnlyWithMeasurementsAndUnlessSwitchedOff) {
    ShowOverviewAfterLogin(area.get());
    EXPECT_EQ(OverviewWindow(), nullptr) << "nothing measured yet";

    Add(0, 80.0);
    ShowOverviewAfterLogin(area.get());
    TfrmOverview* form = OverviewWindow();
    ASSERT_NE(form, nullptr);
    auto* check = form->findChild<QCheckBox*>(QStringLiteral("chkShowAtLogin"));
    EXPECT_TRUE(check->isChecked());
    check->click();
    EXPECT_EQ(ReadIniString(Globals.SettingsPath, QStringLiteral("Overview"), QStringLiteral("ShowAtLogin"),
                            QString()),
              QStringLiteral("0"));
    form->parentWidget()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    ShowOverviewAfterLogin(area.get());
    EXPECT_EQ(OverviewWindow(), nullptr) << "switched off";
    TfrmOverview* opened = Open();
    EXPECT_FALSE(opened->findChild<QCheckBox*>(QStringLiteral("chkShowAtLogin"))->isChecked());
    opened->findChild<QCheckBox*>(QStringLiteral("chkShowAtLogin"))->click();
    EXPECT_TRUE(OverviewShownAtLogin());
}

} // namespace
