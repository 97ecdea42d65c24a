// SPDX-License-Identifier: MIT
// What the overview computes from the day means, the profile and the goal.
#include "overview/OverviewFigures.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

const QDate Start(2024, 1, 1);

TDayMean Day(int offset, double weight, double fat = 25.0) {
    TDayMean day;
    day.Day = Start.addDays(offset);
    day.Weight = weight;
    day.Fat = fat;
    day.Tbw = 55;
    day.Mus = 40;
    day.Bone = 3;
    return day;
}

const TOverviewProfile Man180{true, 0, QDate(1984, 1, 1), 180};

} // namespace

TEST(OverviewFigures, NoMeasurementGivesNothingButTheGoal) {
    const TOverviewFigures figures = ComputeOverview({}, Man180, TGoal{75, QDate()}, Start);
    EXPECT_FALSE(figures.Latest.has_value());
    EXPECT_FALSE(figures.Projection.has_value());
    ASSERT_TRUE(figures.Goal.has_value());
    EXPECT_EQ(figures.Goal->WeightKg, 75);
}

// 80 kg on day 0, 79 kg seven days later: the trend moves by 1 - 0.9^7 of the step.
TEST(OverviewFigures, TheChangeComesFromTheTrendAndOnlyAsFarBackAsTheMeasurements) {
    const double alpha = 1 - std::pow(0.9, 7);
    const TOverviewFigures figures = ComputeOverview({Day(0, 80), Day(7, 79)}, Man180, std::nullopt, Start);
    ASSERT_TRUE(figures.Latest.has_value());
    EXPECT_EQ(figures.Latest->Day, Start.addDays(7));
    EXPECT_NEAR(figures.LatestTrend, 80 - alpha, 1e-12);
    ASSERT_TRUE(figures.Change[0].has_value());
    EXPECT_NEAR(*figures.Change[0], -alpha, 1e-12);
    EXPECT_FALSE(figures.Change[1].has_value()) << "30 days back lies before the first measurement";
    EXPECT_FALSE(figures.Change[2].has_value());
}

TEST(OverviewFigures, BodyValuesComeFromTheLatestMeasurementAndTheProfile) {
    struct Case {
        TOverviewProfile profile;
        double weight;
        std::optional<double> bmi;
        TBmiBand band;
        std::optional<double> mifflin;
    };
    // Age 40 on 2024-01-15; 81 kg at 180 cm is a BMI of exactly 25, the first of "pre-obese".
    const Case cases[] = {
        {Man180, 81, 25.0, TBmiBand::PreObese, 10 * 81 + 6.25 * 180 - 5 * 40 + 5},
        {{true, 3, QDate(1984, 1, 1), 180},
         81,
         25.0,
         TBmiBand::PreObese,
         10 * 81 + 6.25 * 180 - 5 * 40 - 161},
        {{true, 1, QDate(1984, 1, 16), 160},
         47.36,
         18.5,
         TBmiBand::Normal,
         10 * 47.36 + 6.25 * 160 - 5 * 39 - 161},
        {{false, 0, QDate(), 0}, 81, std::nullopt, TBmiBand::Normal, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.profile.GenderIndex);
        const TOverviewFigures figures =
            ComputeOverview({Day(14, c.weight, 20)}, c.profile, std::nullopt, Start.addDays(14));
        ASSERT_EQ(figures.Bmi.has_value(), c.bmi.has_value());
        if (c.bmi) {
            EXPECT_NEAR(*figures.Bmi, *c.bmi, 1e-9);
            EXPECT_EQ(figures.BmiBand, c.band);
        }
        ASSERT_EQ(figures.BmrMifflinStJeor.has_value(), c.mifflin.has_value());
        if (c.mifflin) {
            EXPECT_NEAR(*figures.BmrMifflinStJeor, *c.mifflin, 1e-9);
        }
        EXPECT_NEAR(figures.FatMassKg, c.weight * 0.2, 1e-9);
        EXPECT_NEAR(figures.LeanMassKg, c.weight * 0.8, 1e-9);
        EXPECT_NEAR(figures.BmrKatchMcArdle, 370 + 21.6 * c.weight * 0.8, 1e-9) << "needs no profile";
    }
}

TEST(OverviewFigures, TheGoalIsProjectedFromTheTrendOfEveryMeasuredDay) {
    std::vector<TDayMean> days;
    for (int d = 0; d <= 120; ++d)
        days.push_back(Day(d, 90 - 0.1 * d)); // losing 0.7 kg a week
    const TOverviewFigures figures = ComputeOverview(days, Man180, TGoal{70, QDate(2024, 12, 31)}, Start);
    ASSERT_TRUE(figures.Projection.has_value());
    EXPECT_NEAR(figures.Projection->Current, figures.LatestTrend, 1e-12);
    EXPECT_NEAR(figures.Projection->Left, 70 - figures.LatestTrend, 1e-12);
    ASSERT_TRUE(figures.Projection->RatePerDay.has_value());
    EXPECT_NEAR(*figures.Projection->RatePerDay, -0.1, 1e-3);
    ASSERT_TRUE(figures.Projection->ReachedOn.has_value());
    EXPECT_GT(*figures.Projection->ReachedOn, days.back().Day);
}

TEST(OverviewFigures, TheSparklineHoldsTheLastNinetyDaysUpToTheLatestMeasurement) {
    std::vector<TDayMean> days;
    for (int d = 0; d < 200; d += 2)
        days.push_back(Day(d, 80 + (d % 3)));
    const TOverviewFigures figures = ComputeOverview(days, Man180, std::nullopt, Start.addDays(400));
    const QDate latest = Start.addDays(198);
    EXPECT_EQ(figures.RecentFrom, latest.addDays(-RecentDays));
    ASSERT_FALSE(figures.RecentWeight.empty());
    EXPECT_EQ(figures.RecentWeight.front().Day, latest.addDays(-RecentDays));
    EXPECT_EQ(figures.RecentWeight.back().Day, latest);
    EXPECT_EQ(figures.RecentWeight.size(), 46u);
    EXPECT_EQ(figures.RecentTrend.size(), figures.RecentWeight.size());
    EXPECT_NEAR(figures.RecentTrend.back().Value, figures.LatestTrend, 1e-12);
}
