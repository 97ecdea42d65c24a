// SPDX-License-Identifier: MIT
#pragma once

#include "insight/Measures.h"

#include <optional>
#include <vector>

// How many days back the rate of the trend is taken.
inline constexpr int GoalRateDays = 28;

// Where the trend stands against a goal and when it will get there.
struct TGoalProjection {
    double Current = 0; // the trend's latest value
    double Left = 0;    // goal − Current: negative while there is weight to lose
    // The trend's change per day over the last GoalRateDays days (or since the first point, when
    // the points do not reach that far back); none with fewer than two measured days.
    std::optional<double> RatePerDay;
    // The day the trend reaches the goal going on at RatePerDay, counted from the latest point's
    // day: that day itself when the goal is already reached; none when the trend is flat, goes
    // away from the goal, or would take more than GoalHorizonDays.
    std::optional<QDate> ReachedOn;
};

// Projections further ahead than this many days (about 100 years) count as never.
inline constexpr qint64 GoalHorizonDays = 36525;

// The projection of trend (as Trend() gives it, ascending by day) towards goal; none when trend
// is empty.
std::optional<TGoalProjection> ProjectGoal(const std::vector<TDayPoint>& trend, double goal);
