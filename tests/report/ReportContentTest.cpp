// SPDX-License-Identifier: MIT
#include "ReportFixture.h"

#include "report/ReportContent.h"

namespace {

std::vector<TDayMean> DailyFrom(const QDate& first, int count) {
    std::vector<TDayMean> days;
    for (int i = 0; i < count; ++i)
        days.push_back({first.addDays(i), 70.0, 20.0, 55.0, 40.0, 3.0});
    return days;
}

// From Monday 5 January 2026 on: 28 days are 4 weeks and 2 months, 140 days 20 weeks and 5 months.
TEST(ChooseReportMeans, WeeksWhileTheyFitThenMonthsThenTheLatestMonths) {
    const QDate monday(2026, 1, 5);
    struct Case {
        int days;
        size_t maxRows;
        TPeriod kind;
        size_t rows;
        size_t leftOut;
        QDate firstShown;
    };
    const Case cases[] = {
        {28, 4, TPeriod::Week, 4, 0, monday},             // exactly as many weeks as rows
        {28, 3, TPeriod::Month, 2, 0, QDate(2026, 1, 1)}, // one week too many: months
        {140, 5, TPeriod::Month, 5, 0, QDate(2026, 1, 1)},
        {140, 4, TPeriod::Month, 4, 1, QDate(2026, 2, 1)}, // the earliest month goes
        {140, 1, TPeriod::Month, 1, 4, QDate(2026, 5, 1)},
        {1, 1, TPeriod::Week, 1, 0, monday},
    };
    for (const Case& c : cases) {
        const TReportMeans means = ChooseReportMeans(DailyFrom(monday, c.days), c.maxRows);
        EXPECT_EQ(means.Kind, c.kind) << c.days << " days in " << c.maxRows << " rows";
        ASSERT_EQ(means.Means.size(), c.rows) << c.days << " days in " << c.maxRows << " rows";
        EXPECT_EQ(means.LeftOut, c.leftOut) << c.days << " days in " << c.maxRows << " rows";
        EXPECT_EQ(means.Means.front().First, c.firstShown) << c.days << " days in " << c.maxRows << " rows";
    }
}

TEST_F(ReportTest, TheProposedRangeEndsOnTheLatestMeasurement) {
    struct Case {
        std::vector<QDate> measured;
        QDate from;
        QDate to;
    };
    const Case cases[] = {
        {{}, Today.addDays(-89), Today}, // nothing measured: the 90 days up to today
        {{QDate(2026, 1, 10), QDate(2026, 2, 1)}, QDate(2026, 1, 10), QDate(2026, 2, 1)},
        {{QDate(2025, 1, 1), QDate(2025, 10, 1), QDate(2026, 1, 31)}, QDate(2025, 11, 3), QDate(2026, 1, 31)},
        {{QDate(2025, 11, 2), QDate(2026, 1, 30)}, QDate(2025, 11, 2), QDate(2026, 1, 30)}, // 90 days exactly
    };
    for (const Case& c : cases) {
        store_->ExecuteSql(QStringLiteral("delete from P_DATA"));
        for (const QDate& day : c.measured)
            Add(day, 70.0, 20.0, 55.0, 40.0, 3.0);
        // Another user's measurements do not move the range.
        store_->ExecuteSql(SqlInsertMeasurement(2, QDate(2026, 3, 1), 80.0, 20.0, 55.0, 40.0, 3.0));
        const TDateRange range = DefaultReportRange(*store_, 1, Today);
        EXPECT_EQ(range.From, c.from) << c.measured.size() << " days";
        EXPECT_EQ(range.To, c.to) << c.measured.size() << " days";
    }
}

} // namespace
