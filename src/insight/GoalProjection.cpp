// SPDX-License-Identifier: MIT
#include "insight/GoalProjection.h"

#include "insight/Trend.h"

#include <algorithm>
#include <cmath>

namespace {

// A rate smaller than this (in units per day; a gram a year for weight) counts as flat.
constexpr double FlatRate = 1e-6;
// Left amounts smaller than this count as the goal reached, so that a goal equal to a value
// that went through floating-point arithmetic is not missed by a rounding error.
constexpr double ReachedMargin = 1e-9;

} // namespace

std::optional<TGoalProjection> ProjectGoal(const std::vector<TDayPoint>& trend, double goal) {
    if (trend.empty())
        return std::nullopt;
    const TDayPoint& latest = trend.back();
    TGoalProjection projection;
    projection.Current = latest.Value;
    projection.Left = goal - latest.Value;

    const QDate from = std::max(latest.Day.addDays(-GoalRateDays), trend.front().Day);
    const qint64 span = from.daysTo(latest.Day);
    if (span > 0)
        projection.RatePerDay = (latest.Value - *TrendOn(trend, from)) / static_cast<double>(span);

    if (std::abs(projection.Left) < ReachedMargin) {
        projection.ReachedOn = latest.Day;
        return projection;
    }
    if (!projection.RatePerDay || std::abs(*projection.RatePerDay) < FlatRate)
        return projection;
    const double days = projection.Left / *projection.RatePerDay;
    if (days <= 0 || days > static_cast<double>(GoalHorizonDays))
        return projection;
    // Whole days, not counting a rounding error as one more day.
    projection.ReachedOn = latest.Day.addDays(static_cast<qint64>(std::ceil(days - 1e-9)));
    return projection;
}
