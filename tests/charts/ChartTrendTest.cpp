// SPDX-License-Identifier: MIT
// The trend lines, the period choice, the fitted axes and the goal line of the chart view.
#include "ChartsFixture.h"

#include "core/Units.h"
#include "store/Goals.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDateTimeAxis>
#include <QValueAxis>

namespace {

using ChartTrendTest = ChartsTest;

QList<double> ValuesOf(QLineSeries* series) {
    QList<double> values;
    for (const QPointF& point : series->points())
        values.append(point.y());
    return values;
}

QList<QDate> DaysOf(QLineSeries* series) {
    QList<QDate> days;
    for (const QPointF& point : series->points())
        days.append(TChart::XToDay(point.x()));
    return days;
}

void ExpectValues(QLineSeries* series, const QList<double>& expected) {
    const QList<double> values = ValuesOf(series);
    ASSERT_EQ(values.size(), expected.size()) << series->objectName().toStdString();
    for (qsizetype i = 0; i < values.size(); ++i)
        EXPECT_NEAR(values[i], expected[i], 1e-9) << series->objectName().toStdString() << " " << i;
}

// 80, 81 a day later, 79 two days after that: 80, 80.1, 80.1 + 0.19 × (79 − 80.1) = 79.891.
TEST_F(ChartTrendTest, TrendLinesFollowWeightAndFatAcrossGaps) {
    Add(Today.addDays(-3), 80.0, 30.0);
    Add(Today.addDays(-2), 81.0, 31.0);
    Add(Today.addDays(-2), 81.0, 31.0); // a second row of the day counts once, in the day's mean
    Add(Today, 79.0, 29.0);
    TfrmChat* form = Open();
    ExpectValues(form->srsWeightTrend(), {80.0, 80.1, 79.891});
    ExpectValues(form->srsFatTrend(), {30.0, 30.1, 29.891});
    EXPECT_EQ(DaysOf(form->srsWeightTrend()), DaysOf(form->srsWeight()));
    EXPECT_TRUE(form->srsWeightTrend()->isVisible());
    EXPECT_TRUE(form->findChild<QCheckBox*>(QStringLiteral("chkTrend"))->isChecked());

    // In pounds the trend is that of the converted days.
    Globals.CurrentUnit = 1;
    form->LoadCharts();
    ExpectValues(form->srsWeightTrend(), {KgToLbExact(80.0), KgToLbExact(80.1), KgToLbExact(79.891)});
    ExpectValues(form->srsFatTrend(), {30.0, 30.1, 29.891});
}

TEST_F(ChartTrendTest, TheCheckBoxHidesBothTrendsAndTheAxesFitWhatIsShown) {
    for (int day = 0; day < 10; ++day)
        Add(Today.addDays(-9 + day), day == 0 ? 90.0 : 70.0, 20.0);
    TfrmChat* form = Open();
    auto* box = form->findChild<QCheckBox*>(QStringLiteral("chkTrend"));
    box->click();
    EXPECT_FALSE(box->isChecked());
    EXPECT_FALSE(form->srsWeightTrend()->isVisible());
    EXPECT_FALSE(form->srsFatTrend()->isVisible());
    EXPECT_EQ(form->srsWeight()->count(), 10);
    box->click();
    EXPECT_TRUE(form->srsWeightTrend()->isVisible());
    EXPECT_TRUE(form->srsFatTrend()->isVisible());
    EXPECT_EQ(form->srsWeightTrend()->count(), 10);
}

// Years of days draw at most 500 trend points, evenly spread, the last day among them.
TEST_F(ChartTrendTest, ALongTrendIsThinnedButEndsOnTheLastDay) {
    const QDate first = Today.addDays(-1199);
    for (int day = 0; day < 1200; ++day)
        Add(first.addDays(day), 70.0 + (day % 7) / 10.0);
    TfrmChat* form = Open();
    form->findChild<QDateEdit*>(QStringLiteral("dtpFrom"))->setDate(first);
    form->LoadCharts();
    const QList<QDate> days = DaysOf(form->srsWeightTrend());
    EXPECT_EQ(form->srsWeight()->count(), 1200);
    ASSERT_LE(days.size(), 500);
    EXPECT_GE(days.size(), 400);
    EXPECT_EQ(days.first(), first);
    EXPECT_EQ(days.last(), Today);
    EXPECT_EQ(days[1], first.addDays(3));
}

// Bone has its own right-hand axis, so the weight axis spans only the weights (a small room above
// and below), and a few hundred grams cover a good part of it.
TEST_F(ChartTrendTest, TheWeightAxisFitsTheWeightAndBoneHasItsOwnAxis) {
    Add(Today.addDays(-2), 70.0, 18.0, 55.0, 40.0, 3.1);
    Add(Today.addDays(-1), 70.4, 22.0, 57.0, 41.0, 3.2);
    Add(Today, 70.2, 20.0, 56.0, 42.0, 3.0);
    TfrmChat* form = Open();

    const QValueAxis* weight = form->chtWeight()->AxisLeft();
    EXPECT_LT(weight->min(), 70.0);
    EXPECT_GT(weight->max(), 70.4);
    EXPECT_LE(weight->max() - weight->min(), 2.0);
    const QValueAxis* bone = form->chtWeight()->AxisRight();
    ASSERT_NE(bone, nullptr);
    EXPECT_TRUE(bone->labelsVisible());
    EXPECT_TRUE(form->srsBone()->attachedAxes().contains(const_cast<QValueAxis*>(bone)));
    EXPECT_LT(bone->min(), 3.0);
    EXPECT_GT(bone->max(), 3.2);
    EXPECT_LE(bone->max() - bone->min(), 2.0);
    EXPECT_EQ(form->chtWeight()->RightAxisTitle(), "Bone  Unit:KG");

    // The second chart spans its three series, from the lowest FAT to the highest TBW.
    const QValueAxis* body = form->chtBMI()->AxisLeft();
    EXPECT_LT(body->min(), 18.0);
    EXPECT_GE(body->min(), 10.0);
    EXPECT_GT(body->max(), 57.0);
    EXPECT_LT(body->max(), 65.0);

    Globals.CurrentUnit = 1;
    form->LoadCharts();
    EXPECT_EQ(form->chtWeight()->RightAxisTitle(), "Bone  Unit:LB");
    EXPECT_LT(form->chtWeight()->AxisLeft()->min(), KgToLb(70.0));
    EXPECT_GT(form->chtWeight()->AxisLeft()->min(), KgToLb(70.0) - 3);
}

// 2024-W11 runs from Monday 11 to Sunday 17 March, W12 from 18 to 24 March; their Thursdays are the
// 14th and the 21st. March's middle is the 16th, February's (29 days) the 15th.
TEST_F(ChartTrendTest, WeeksAndMonthsShowTheMeansOfTheirDaysAtTheirMiddle) {
    Add(QDate(2024, 2, 20), 72.0, 22.0);
    Add(QDate(2024, 3, 11), 70.0, 20.0);
    Add(QDate(2024, 3, 11), 71.0, 21.0); // the day's mean 70.5 counts once
    Add(QDate(2024, 3, 17), 73.5, 23.0);
    Add(QDate(2024, 3, 18), 69.0, 19.0);
    TfrmChat* form = Open();
    form->findChild<QDateEdit*>(QStringLiteral("dtpFrom"))->setDate(QDate(2024, 2, 1));
    form->LoadCharts();
    auto* period = form->findChild<QComboBox*>(QStringLiteral("cbbPeriod"));
    ASSERT_EQ(period->count(), 3);
    EXPECT_EQ(period->currentIndex(), 0);
    EXPECT_EQ(form->srsWeight()->count(), 4);

    period->setCurrentIndex(1);
    EXPECT_EQ(form->Period(), TPeriod::Week);
    EXPECT_EQ(DaysOf(form->srsWeight()),
              QList<QDate>({QDate(2024, 2, 22), QDate(2024, 3, 14), QDate(2024, 3, 21)}));
    ExpectValues(form->srsWeight(), {72.0, (70.5 + 73.5) / 2, 69.0});
    ExpectValues(form->srsFat(), {22.0, (20.5 + 23.0) / 2, 19.0});
    EXPECT_EQ(form->srsWeightTrend()->count(), 4); // the trend keeps following the days

    period->setCurrentIndex(2);
    EXPECT_EQ(DaysOf(form->srsBone()), QList<QDate>({QDate(2024, 2, 15), QDate(2024, 3, 16)}));
    ExpectValues(form->srsWeight(), {72.0, (70.5 + 73.5 + 69.0) / 3});

    period->setCurrentIndex(0);
    EXPECT_EQ(form->srsWeight()->count(), 4);
}

TEST_F(ChartTrendTest, TheGoalIsADashedLineAcrossTheRangeInTheUsersUnit) {
    Add(Today.addDays(-20), 70.0);
    Add(Today, 69.0);
    TfrmChat* form = Open();
    EXPECT_FALSE(form->srsGoal()->isVisible()); // no goal yet

    SaveGoal(*store_, 1, TGoal{68.5, QDate()});
    SaveGoal(*store_, 2, TGoal{50.0, QDate()});
    form->LoadCharts();
    QLineSeries* goal = form->srsGoal();
    ASSERT_TRUE(goal->isVisible());
    EXPECT_EQ(goal->pen().style(), Qt::DashLine);
    EXPECT_EQ(ValuesOf(goal), QList<double>({68.5, 68.5}));
    const QDateTimeAxis* days = form->chtWeight()->AxisBottom();
    EXPECT_EQ(goal->at(0).x(), days->min().toMSecsSinceEpoch());
    EXPECT_EQ(goal->at(1).x(), days->max().toMSecsSinceEpoch());
    EXPECT_EQ(goal->name(), "Goal 68.5");
    EXPECT_LT(form->chtWeight()->AxisLeft()->min(), 68.5); // near the weights: on the axis

    Globals.CurrentUnit = 1;
    form->LoadCharts();
    EXPECT_NEAR(ValuesOf(goal)[0], KgToLbExact(68.5), 1e-9);
    EXPECT_EQ(goal->name(), QStringLiteral("Goal %1").arg(KgToLbExact(68.5), 0, 'f', 1));

    // A goal far from the weights keeps its line and legend entry but does not squeeze the axis.
    Globals.CurrentUnit = 0;
    SaveGoal(*store_, 1, TGoal{55.0, QDate()});
    form->LoadCharts();
    EXPECT_TRUE(goal->isVisible());
    EXPECT_GT(form->chtWeight()->AxisLeft()->min(), 60.0);

    SaveGoal(*store_, 1, std::nullopt);
    form->LoadCharts();
    EXPECT_FALSE(goal->isVisible());
    EXPECT_EQ(goal->count(), 0);
}

// The goal line alone does not make the date axis: an empty range still shows its own days.
TEST_F(ChartTrendTest, AGoalWithoutMeasurementsLeavesTheChartEmpty) {
    SaveGoal(*store_, 1, TGoal{68.5, QDate()});
    TfrmChat* form = Open();
    EXPECT_EQ(form->srsWeight()->count(), 0);
    EXPECT_EQ(form->srsWeightTrend()->count(), 0);
    const QDateTimeAxis* days = form->chtWeight()->AxisBottom();
    EXPECT_EQ(TChart::XToDay(days->min().toMSecsSinceEpoch()), Today.addDays(-30));
}

} // namespace
