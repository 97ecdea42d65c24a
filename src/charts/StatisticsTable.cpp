// SPDX-License-Identifier: MIT
#include "charts/StatisticsTable.h"

#include "core/Units.h"
#include "insight/RangeStatistics.h"
#include "lang/LangMgr.h"

namespace {

QString Number(double value) {
    return QString::number(value, 'f', 1);
}

QString SignedNumber(double value) {
    const QString text = Number(value);
    // A change that rounds to nothing reads 0.0, whatever its sign.
    if (text == QLatin1String("-0.0") || text == QLatin1String("0.0"))
        return QStringLiteral("0.0");
    return value > 0 ? QLatin1Char('+') + text : text;
}

} // namespace

std::vector<TDayMean> InShownUnit(std::vector<TDayMean> days, bool metric) {
    if (!metric)
        for (TDayMean& day : days) {
            day.Weight = KgToLbExact(day.Weight);
            day.Bone = KgToLbExact(day.Bone);
        }
    return days;
}

QString PeriodName(const TPeriodMean& period, TPeriod kind) {
    switch (kind) {
    case TPeriod::Week: {
        int year = 0;
        const int week = period.First.weekNumber(&year);
        return QStringLiteral("%1-W%2").arg(year).arg(week, 2, 10, QLatin1Char('0'));
    }
    case TPeriod::Month:
        return period.First.toString(QStringLiteral("yyyy-MM"));
    case TPeriod::Day:
        break;
    }
    return period.First.toString(QStringLiteral("yyyy-MM-dd"));
}

QStringList StatisticsHeading() {
    return {QString(),
            GetText("StatFirst"),
            GetText("StatLast"),
            GetText("StatChange"),
            GetText("StatLowest"),
            GetText("StatHighest"),
            GetText("StatMean"),
            GetText("StatTrendWeek")};
}

std::vector<QStringList> StatisticsRows(const std::vector<TDayMean>& days, bool metric) {
    const auto stats = RangeStatistics(days);
    const QString percent = QStringLiteral(" (%)");
    const QString weightUnit = QStringLiteral(" (%1)").arg(GetText(metric ? "KG" : "LB"));
    const QString names[] = {GetText(metric ? "WeightKG" : "WeightLB"), GetText("FAT") + percent,
                             GetText("TBW") + percent, GetText("MUS") + percent,
                             GetText("BONE") + weightUnit};
    std::vector<QStringList> rows;
    for (TMeasure measure : AllMeasures) {
        const TValueStatistics& s = stats.at(static_cast<size_t>(measure));
        QStringList row{names[static_cast<int>(measure)]};
        if (s.MeasuredDays > 0)
            row << Number(s.First) << Number(s.Last) << SignedNumber(s.Change) << Number(s.Lowest)
                << Number(s.Highest) << Number(s.Mean)
                << (s.TrendPerWeek ? SignedNumber(*s.TrendPerWeek) : QString());
        rows.push_back(row);
    }
    return rows;
}

QStringList MeansHeading(bool metric) {
    return {GetText("StatPeriod"), GetText("StatDays"), GetText(metric ? "WeightKG" : "WeightLB"),
            GetText("FAT"),        GetText("TBW"),      GetText("MUS"),
            GetText("BONE")};
}

std::vector<QStringList> MeansRows(const std::vector<TPeriodMean>& means, TPeriod kind) {
    std::vector<QStringList> rows;
    rows.reserve(means.size());
    for (const TPeriodMean& mean : means)
        rows.push_back({PeriodName(mean, kind), QString::number(mean.MeasuredDays), Number(mean.Mean.Weight),
                        Number(mean.Mean.Fat), Number(mean.Mean.Tbw), Number(mean.Mean.Mus),
                        Number(mean.Mean.Bone)});
    return rows;
}
