// SPDX-License-Identifier: MIT
#include "insight/GoalProjection.h"
#include "insight/RangeStatistics.h"

#include <gtest/gtest.h>

namespace {

QDate Jan(int day) {
    return QDate(2026, 1, 1).addDays(day - 1);
}

// A trend that moves by perDay every day for count days from 1 January.
std::vector<TDayPoint> Straight(double start, double perDay, int count) {
    std::vector<TDayPoint> points;
    for (int i = 0; i < count; ++i)
        points.push_back({Jan(1 + i), start + perDay * i});
    return points;
}

} // namespace

// The trend of 80, 78 (2 days on), 79 (5 days on) is 80, 79.62, 79.3661038: −0.6338962 over the
// 7 days between the first and the last day.
TEST(RangeStatistics, OfAShortSeries) {
    const TValueStatistics s = StatisticsOf({{Jan(1), 80.0}, {Jan(3), 78.0}, {Jan(8), 79.0}});
    EXPECT_EQ(s.MeasuredDays, 3);
    EXPECT_DOUBLE_EQ(s.First, 80.0);
    EXPECT_DOUBLE_EQ(s.Last, 79.0);
    EXPECT_DOUBLE_EQ(s.Change, -1.0);
    EXPECT_DOUBLE_EQ(s.Lowest, 78.0);
    EXPECT_DOUBLE_EQ(s.Highest, 80.0);
    EXPECT_DOUBLE_EQ(s.Mean, 79.0);
    ASSERT_TRUE(s.TrendPerWeek);
    EXPECT_NEAR(*s.TrendPerWeek, -0.6338962, 1e-9);
}

TEST(RangeStatistics, OneDayHasNoTrendRateAndNoDaysGiveNothing) {
    const TValueStatistics one = StatisticsOf({{Jan(4), 70.2}});
    EXPECT_EQ(one.MeasuredDays, 1);
    EXPECT_DOUBLE_EQ(one.Change, 0.0);
    EXPECT_DOUBLE_EQ(one.Lowest, 70.2);
    EXPECT_DOUBLE_EQ(one.Highest, 70.2);
    EXPECT_EQ(one.TrendPerWeek, std::nullopt);

    const TValueStatistics none = StatisticsOf({});
    EXPECT_EQ(none.MeasuredDays, 0);
    EXPECT_EQ(none.TrendPerWeek, std::nullopt);
}

TEST(RangeStatistics, EachValueHasItsOwn) {
    const std::vector<TDayMean> days = {{Jan(1), 80, 25, 50, 40, 3.0}, {Jan(2), 79, 24, 51, 41, 3.1}};
    const auto stats = RangeStatistics(days);
    const struct {
        TMeasure measure;
        double first;
        double last;
    } cases[] = {{TMeasure::Weight, 80, 79},
                 {TMeasure::Fat, 25, 24},
                 {TMeasure::Tbw, 50, 51},
                 {TMeasure::Mus, 40, 41},
                 {TMeasure::Bone, 3.0, 3.1}};
    for (const auto& c : cases) {
        const TValueStatistics& s = stats.at(static_cast<size_t>(c.measure));
        EXPECT_DOUBLE_EQ(s.First, c.first) << static_cast<int>(c.measure);
        EXPECT_DOUBLE_EQ(s.Last, c.last) << static_cast<int>(c.measure);
    }
}

// Falling by 0.1 kg a day from 90 to 86 on day 41: 1 kg left to 85 takes 10 more days; rising from
// 86 to 90 towards 91 likewise. A goal the other way, a flat trend, a rate too slow to matter: no day.
TEST(GoalProjection, FallingRisingFlatAndTheWrongWay) {
    const struct {
        const char* name;
        std::vector<TDayPoint> trend;
        double goal;
        double left;
        std::optional<double> rate;
        std::optional<QDate> reached;
    } cases[] = {
        {"falling", Straight(90, -0.1, 41), 85, -1.0, -0.1, Jan(51)},
        {"rising", Straight(86, 0.1, 41), 91, 1.0, 0.1, Jan(51)},
        {"flat", Straight(80, 0, 41), 75, -5.0, 0.0, std::nullopt},
        {"wrong way", Straight(90, -0.1, 41), 95, 9.0, -0.1, std::nullopt},
        {"reached", Straight(90, -0.1, 41), 86, 0.0, -0.1, Jan(41)},
        {"beyond a century", Straight(80, -1e-5, 41), 79, -1.0 + 4e-4, -1e-5, std::nullopt},
    };
    for (const auto& c : cases) {
        const std::optional<TGoalProjection> p = ProjectGoal(c.trend, c.goal);
        ASSERT_TRUE(p) << c.name;
        EXPECT_NEAR(p->Left, c.left, 1e-9) << c.name;
        ASSERT_TRUE(p->RatePerDay) << c.name;
        EXPECT_NEAR(*p->RatePerDay, *c.rate, 1e-9) << c.name;
        EXPECT_EQ(p->ReachedOn, c.reached) << c.name;
    }
}

// The rate is taken over the last 28 days, with the trend holding its value between measured
// days; a shorter history gives the rate over what there is.
TEST(GoalProjection, RateOverTheLast28Days) {
    // 90 on 1 January held until 23 January (28 days before 20 February), 88 on 20 February:
    // −2 / 28 a day; 1 kg more to 87 takes 14 days.
    const auto sparse = ProjectGoal({{Jan(1), 90.0}, {Jan(51), 88.0}}, 87.0);
    ASSERT_TRUE(sparse && sparse->RatePerDay);
    EXPECT_NEAR(*sparse->RatePerDay, -2.0 / 28, 1e-12);
    EXPECT_EQ(sparse->ReachedOn, Jan(65));

    // 80 to 79 over 10 days: −0.1 a day; 78 in 10 days more.
    const auto shortHistory = ProjectGoal({{Jan(1), 80.0}, {Jan(11), 79.0}}, 78.0);
    ASSERT_TRUE(shortHistory && shortHistory->RatePerDay);
    EXPECT_NEAR(*shortHistory->RatePerDay, -0.1, 1e-12);
    EXPECT_EQ(shortHistory->ReachedOn, Jan(21));

    // The earlier fall no longer counts once the last 28 days were flat.
    std::vector<TDayPoint> levelled = Straight(90, -0.1, 30);
    for (int day = 31; day <= 60; ++day)
        levelled.push_back({Jan(day), levelled.back().Value});
    const auto level = ProjectGoal(levelled, 80.0);
    ASSERT_TRUE(level && level->RatePerDay);
    EXPECT_NEAR(*level->RatePerDay, 0.0, 1e-12);
    EXPECT_EQ(level->ReachedOn, std::nullopt);
}

TEST(GoalProjection, TooLittleToGoOn) {
    EXPECT_EQ(ProjectGoal({}, 70.0), std::nullopt);
    const auto one = ProjectGoal({{Jan(5), 72.0}}, 70.0);
    ASSERT_TRUE(one);
    EXPECT_DOUBLE_EQ(one->Current, 72.0);
    EXPECT_DOUBLE_EQ(one->Left, -2.0);
    EXPECT_EQ(one->RatePerDay, std::nullopt);
    EXPECT_EQ(one->ReachedOn, std::nullopt);
    EXPECT_EQ(ProjectGoal({{Jan(5), 72.0}}, 72.0)->ReachedOn, Jan(5));
}
