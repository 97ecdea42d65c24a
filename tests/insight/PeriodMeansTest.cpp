// SPDX-License-Identifier: MIT
#include "insight/PeriodMeans.h"

#include <gtest/gtest.h>

namespace {

TDayMean Day(int year, int month, int day, double weight) {
    return TDayMean{QDate(year, month, day), weight, 0, 0, 0, 0};
}

std::string Iso(const QDate& day) {
    return day.toString(Qt::ISODate).toStdString();
}

struct ExpectedPeriod {
    QDate first;
    QDate last;
    QDate middle;
    int measuredDays;
    double weight;
};

void ExpectPeriods(const std::vector<TPeriodMean>& periods, const std::vector<ExpectedPeriod>& expected) {
    ASSERT_EQ(periods.size(), expected.size());
    for (size_t i = 0; i < periods.size(); ++i) {
        EXPECT_EQ(Iso(periods[i].First), Iso(expected[i].first)) << i;
        EXPECT_EQ(Iso(periods[i].Last), Iso(expected[i].last)) << i;
        EXPECT_EQ(Iso(periods[i].Mean.Day), Iso(expected[i].middle)) << i;
        EXPECT_EQ(periods[i].MeasuredDays, expected[i].measuredDays) << i;
        EXPECT_NEAR(periods[i].Mean.Weight, expected[i].weight, 1e-9) << i;
    }
}

} // namespace

// 2020 ends in ISO week 53 (Monday 28 December to Sunday 3 January 2021); 27 December is still
// week 52 and 4 January 2021 opens week 1.
TEST(PeriodMeans, WeeksAcrossWeek53AndTheYearEnd) {
    const std::vector<TDayMean> days = {Day(2020, 12, 27, 80), Day(2020, 12, 28, 81), Day(2020, 12, 31, 82),
                                        Day(2021, 1, 3, 84), Day(2021, 1, 4, 85)};
    ExpectPeriods(PeriodMeans(days, TPeriod::Week),
                  {{{2020, 12, 21}, {2020, 12, 27}, {2020, 12, 24}, 1, 80.0},
                   {{2020, 12, 28}, {2021, 1, 3}, {2020, 12, 31}, 3, (81.0 + 82 + 84) / 3},
                   {{2021, 1, 4}, {2021, 1, 10}, {2021, 1, 7}, 1, 85.0}});
}

// A month's middle is day 1 + (length − 1) / 2: the 16th of 31 days, the 15th of 29 or 30, the
// 14th of a 28-day February.
TEST(PeriodMeans, MonthsAcrossFebruary) {
    const std::vector<TDayMean> days = {Day(2024, 1, 31, 70), Day(2024, 2, 1, 71), Day(2024, 2, 29, 73),
                                        Day(2024, 3, 1, 74)};
    ExpectPeriods(PeriodMeans(days, TPeriod::Month), {{{2024, 1, 1}, {2024, 1, 31}, {2024, 1, 16}, 1, 70.0},
                                                      {{2024, 2, 1}, {2024, 2, 29}, {2024, 2, 15}, 2, 72.0},
                                                      {{2024, 3, 1}, {2024, 3, 31}, {2024, 3, 16}, 1, 74.0}});
    ExpectPeriods(PeriodMeans({Day(2023, 2, 28, 60), Day(2023, 4, 30, 61)}, TPeriod::Month),
                  {{{2023, 2, 1}, {2023, 2, 28}, {2023, 2, 14}, 1, 60.0},
                   {{2023, 4, 1}, {2023, 4, 30}, {2023, 4, 15}, 1, 61.0}});
}

TEST(PeriodMeans, DaysStayAsTheyAreAndNothingGivesNothing) {
    const std::vector<TDayMean> days = {Day(2026, 3, 2, 70.5), Day(2026, 3, 4, 70.1)};
    ExpectPeriods(PeriodMeans(days, TPeriod::Day), {{{2026, 3, 2}, {2026, 3, 2}, {2026, 3, 2}, 1, 70.5},
                                                    {{2026, 3, 4}, {2026, 3, 4}, {2026, 3, 4}, 1, 70.1}});
    for (TPeriod period : {TPeriod::Day, TPeriod::Week, TPeriod::Month})
        EXPECT_TRUE(PeriodMeans({}, period).empty());
}

TEST(PeriodMeans, EveryValueIsAveraged) {
    const std::vector<TDayMean> days = {{QDate(2026, 6, 1), 80, 20, 55, 40, 3.0},
                                        {QDate(2026, 6, 3), 78, 22, 53, 38, 3.2}};
    const std::vector<TPeriodMean> weeks = PeriodMeans(days, TPeriod::Week);
    ASSERT_EQ(weeks.size(), 1u);
    const TDayMean& mean = weeks.front().Mean;
    EXPECT_DOUBLE_EQ(mean.Weight, 79);
    EXPECT_DOUBLE_EQ(mean.Fat, 21);
    EXPECT_DOUBLE_EQ(mean.Tbw, 54);
    EXPECT_DOUBLE_EQ(mean.Mus, 39);
    EXPECT_DOUBLE_EQ(mean.Bone, 3.1);
}
