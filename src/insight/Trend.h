// SPDX-License-Identifier: MIT
#pragma once

#include "insight/Measures.h"

#include <optional>
#include <vector>

// The trend: an exponential moving average that knows about time. The first day's value starts
// it; a day that comes d days after the previous measured day moves it by the weight
// alpha = 1 - (1 - 0.1)^d towards that day's value, so each day counts 10 % and a gap of many
// days lets the next value count nearly fully instead of as much as a single day.

inline constexpr double TrendDailyWeight = 0.1;

// alpha for a day that comes daysAfter days after the previous one; a daysAfter below 1 (the same
// day again, or days out of order) counts as 1.
double TrendAlpha(qint64 daysAfter);

// The trend on each day of points, which must come in ascending order of day: one point per input
// point, on the same day.
std::vector<TDayPoint> Trend(const std::vector<TDayPoint>& points);

// The trend's value in effect on day: that of the last trend point on or before day (the trend
// holds its value between measured days); none when day lies before the first point.
std::optional<double> TrendOn(const std::vector<TDayPoint>& trend, const QDate& day);
