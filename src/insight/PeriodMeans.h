// SPDX-License-Identifier: MIT
#pragma once

#include "core/DayMean.h"

#include <vector>

// How the charts and tables group measured days.
enum class TPeriod {
    Day,   // every measured day on its own
    Week,  // ISO weeks: Monday to Sunday, numbered by the year that holds their Thursday
    Month, // calendar months
};

// The mean of one period.
struct TPeriodMean {
    QDate First;      // the period's first calendar day (a Monday for weeks, the 1st for months)
    QDate Last;       // its last calendar day
    int MeasuredDays; // how many measured days it holds (at least 1)
    TDayMean Mean;    // the mean of those days' means, each day counting once; Mean.Day is the
                      // middle of the period: a week's Thursday, a month's day 1 + (length - 1) / 2
};

// The calendar period of kind period that holds day (for TPeriod::Day the day itself).
TPeriodMean PeriodOf(const QDate& day, TPeriod period);

// One mean per period that holds at least one of days, in ascending order. days are one mean per
// measured day in ascending order of day. For TPeriod::Day each day is its own period.
std::vector<TPeriodMean> PeriodMeans(const std::vector<TDayMean>& days, TPeriod period);
