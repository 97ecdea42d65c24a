// SPDX-License-Identifier: MIT
#include "insight/RangeStatistics.h"

#include "insight/Trend.h"

#include <algorithm>

TValueStatistics StatisticsOf(const std::vector<TDayPoint>& points) {
    TValueStatistics result;
    if (points.empty())
        return result;
    result.MeasuredDays = static_cast<int>(points.size());
    result.First = points.front().Value;
    result.Last = points.back().Value;
    result.Change = result.Last - result.First;
    result.Lowest = result.Highest = result.First;
    double sum = 0;
    for (const TDayPoint& point : points) {
        result.Lowest = std::min(result.Lowest, point.Value);
        result.Highest = std::max(result.Highest, point.Value);
        sum += point.Value;
    }
    result.Mean = sum / static_cast<double>(points.size());

    const qint64 span = points.front().Day.daysTo(points.back().Day);
    if (span > 0) {
        const std::vector<TDayPoint> trend = Trend(points);
        result.TrendPerWeek = (trend.back().Value - trend.front().Value) * 7.0 / static_cast<double>(span);
    }
    return result;
}

std::array<TValueStatistics, 5> RangeStatistics(const std::vector<TDayMean>& days) {
    std::array<TValueStatistics, 5> result;
    for (TMeasure measure : AllMeasures)
        result.at(static_cast<size_t>(measure)) = StatisticsOf(PointsOf(days, measure));
    return result;
}
