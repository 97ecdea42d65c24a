// SPDX-License-Identifier: MIT
#include "report/ReportContent.h"

#include "core/Units.h"
#include "store/DayMeans.h"
#include "store/Statements.h"
#include "store/TdmMain.h"

#include <algorithm>

TReportContent ReadReportContent(TdmMain& store, int userId, bool metric, const QDate& from, const QDate& to,
                                 const QDate& today) {
    TReportContent content;
    content.Metric = metric;
    content.From = from;
    content.To = to;
    content.MadeOn = today;
    const TRowSet users = store.SelectRows(SqlSelectUser(userId));
    if (!users.empty()) {
        const TDataRow& user = users.front();
        content.Profile = OverviewProfileOf(user);
        content.UserName = user.AsString(QStringLiteral("USER_NAME"));
        if (!user.IsNull(QStringLiteral("HEIGHT_EN")))
            content.HeightInches = user.AsFloat(QStringLiteral("HEIGHT_EN"));
    }
    if (content.HeightInches <= 0 && content.Profile.HeightCm > 0)
        content.HeightInches = CmToInch(content.Profile.HeightCm);
    content.Days = DailyMeans(store.SelectRows(SqlChartRange(userId, from, to)));
    // The latest values, BMI and band are those of the range, decided as the overview decides them.
    content.Figures = ComputeOverview(content.Days, content.Profile, std::nullopt, today);
    return content;
}

TDateRange DefaultReportRange(TdmMain& store, int userId, const QDate& today) {
    const TRowSet span = store.SelectRows(SqlUserDaySpan(userId));
    const QDate first = span.empty() ? QDate() : span.front().AsDate(QStringLiteral("FIRST_DAY"));
    const QDate last = span.empty() ? QDate() : span.front().AsDate(QStringLiteral("LAST_DAY"));
    if (!first.isValid() || !last.isValid())
        return {today.addDays(-(DefaultReportDays - 1)), today};
    return {std::max(first, last.addDays(-(DefaultReportDays - 1))), last};
}

TReportMeans ChooseReportMeans(const std::vector<TDayMean>& days, size_t maxRows) {
    TReportMeans table;
    table.Means = PeriodMeans(days, TPeriod::Week);
    if (table.Means.size() <= maxRows)
        return table;
    table.Kind = TPeriod::Month;
    table.Means = PeriodMeans(days, TPeriod::Month);
    if (table.Means.size() > maxRows) {
        table.LeftOut = table.Means.size() - maxRows;
        table.Means.erase(table.Means.begin(),
                          table.Means.begin() + static_cast<std::ptrdiff_t>(table.LeftOut));
    }
    return table;
}
