// SPDX-License-Identifier: MIT
#include "insight/Trend.h"

#include <gtest/gtest.h>

namespace {

QDate Jan(int day) {
    return QDate(2026, 1, day);
}

} // namespace

TEST(Trend, AlphaGrowsWithTheGapAndTreatsNoGapAsOneDay) {
    const struct {
        qint64 daysAfter;
        double alpha;
    } cases[] = {{1, 0.1}, {2, 0.19}, {3, 0.271}, {10, 0.6513215599}, {0, 0.1}, {-4, 0.1}};
    for (const auto& c : cases)
        EXPECT_NEAR(TrendAlpha(c.daysAfter), c.alpha, 1e-10) << c.daysAfter;
}

// 80 starts it; +1 day: 80 + 0.1 × 1 = 80.1; +2 days: 80.1 + 0.19 × (79 − 80.1) = 79.891;
// +10 days: 79.891 + 0.6513215599 × (82 − 79.891) = 81.2646371698.
TEST(Trend, ShortSeriesWithGaps) {
    const std::vector<TDayPoint> points = {{Jan(1), 80.0}, {Jan(2), 81.0}, {Jan(4), 79.0}, {Jan(14), 82.0}};
    const double expected[] = {80.0, 80.1, 79.891, 81.2646371698};
    const std::vector<TDayPoint> trend = Trend(points);
    ASSERT_EQ(trend.size(), points.size());
    for (size_t i = 0; i < trend.size(); ++i) {
        EXPECT_EQ(trend[i].Day, points[i].Day);
        EXPECT_NEAR(trend[i].Value, expected[i], 1e-9) << i;
    }
}

// A gap of d days moves the trend as far as d daily steps towards the same value would.
TEST(Trend, AGapActsLikeDailyStepsTowardsTheNextValue) {
    const std::vector<TDayPoint> gap = Trend({{Jan(1), 70.0}, {Jan(8), 77.0}});
    std::vector<TDayPoint> daily = {{Jan(1), 70.0}};
    for (int day = 2; day <= 8; ++day)
        daily.push_back({Jan(day), 77.0});
    EXPECT_NEAR(gap.back().Value, Trend(daily).back().Value, 1e-12);
}

TEST(Trend, EmptyAndSinglePoint) {
    EXPECT_TRUE(Trend({}).empty());
    EXPECT_EQ(Trend({{Jan(5), 64.2}}), (std::vector<TDayPoint>{{Jan(5), 64.2}}));
}

TEST(Trend, ValueOnADayHoldsBetweenPoints) {
    const std::vector<TDayPoint> trend = {{Jan(3), 80.0}, {Jan(6), 79.0}};
    const struct {
        QDate day;
        std::optional<double> value;
    } cases[] = {{Jan(2), std::nullopt}, {Jan(3), 80.0}, {Jan(5), 80.0}, {Jan(6), 79.0}, {Jan(30), 79.0}};
    for (const auto& c : cases)
        EXPECT_EQ(TrendOn(trend, c.day), c.value) << c.day.toString(Qt::ISODate).toStdString();
    EXPECT_EQ(TrendOn({}, Jan(3)), std::nullopt);
}
