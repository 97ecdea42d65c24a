// SPDX-License-Identifier: MIT
#include "insight/Trend.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

double AlphaOf(qint64 daysAfter) {
    return 1.0 - std::pow(1.0 - TrendDailyWeight, static_cast<double>(daysAfter));
}

// Nearly every gap is a few days long: those alphas are worked out once, since pow() would
// otherwise cost more than the rest of the trend.
constexpr qint64 TabledDays = 400;

} // namespace

double TrendAlpha(qint64 daysAfter) {
    static const std::array<double, TabledDays + 1> table = [] {
        std::array<double, TabledDays + 1> alphas{};
        for (qint64 d = 1; d <= TabledDays; ++d)
            alphas.at(static_cast<size_t>(d)) = AlphaOf(d);
        return alphas;
    }();
    if (daysAfter <= 1)
        return table[1];
    return daysAfter <= TabledDays ? table.at(static_cast<size_t>(daysAfter)) : AlphaOf(daysAfter);
}

std::vector<TDayPoint> Trend(const std::vector<TDayPoint>& points) {
    std::vector<TDayPoint> trend;
    trend.reserve(points.size());
    for (const TDayPoint& point : points) {
        if (trend.empty()) {
            trend.push_back(point);
            continue;
        }
        const TDayPoint& previous = trend.back();
        const double alpha = TrendAlpha(previous.Day.daysTo(point.Day));
        trend.push_back({point.Day, previous.Value + alpha * (point.Value - previous.Value)});
    }
    return trend;
}

std::optional<double> TrendOn(const std::vector<TDayPoint>& trend, const QDate& day) {
    const auto after = std::upper_bound(trend.begin(), trend.end(), day,
                                        [](const QDate& d, const TDayPoint& p) { return d < p.Day; });
    if (after == trend.begin())
        return std::nullopt;
    return std::prev(after)->Value;
}
