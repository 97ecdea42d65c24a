// SPDX-License-Identifier: MIT
#pragma once

#include "insight/Measures.h"

#include <array>
#include <optional>
#include <vector>

// What one value did over a range of measured days.
struct TValueStatistics {
    int MeasuredDays = 0; // 0: the range holds no measurement and the other fields are 0
    double First = 0;     // the value of the first measured day
    double Last = 0;      // the value of the last measured day
    double Change = 0;    // Last − First
    double Lowest = 0;
    double Highest = 0;
    double Mean = 0; // the mean of the daily means, each measured day counting once
    // How much the trend (started at the range's first day) moved per 7 days between the first
    // and the last measured day; none when they are the same day.
    std::optional<double> TrendPerWeek;
};

// The statistics of points, one per measured day in ascending order of day.
TValueStatistics StatisticsOf(const std::vector<TDayPoint>& points);

// The statistics of each of the five values of days (indexed by TMeasure), one mean per measured
// day in ascending order of day.
std::array<TValueStatistics, 5> RangeStatistics(const std::vector<TDayMean>& days);
