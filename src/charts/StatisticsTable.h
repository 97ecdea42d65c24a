// SPDX-License-Identifier: MIT
#pragma once

#include "core/DayMean.h"
#include "insight/PeriodMeans.h"

#include <QString>
#include <QStringList>
#include <vector>

// The cell texts of the statistics of a range and of its period means, in the current language,
// as the statistics dialog lists them and the report prints them.

// days (kg) with weight and bone in the shown unit: pounds by the exact factor, since means and
// changes are computed values rather than the scale's readings.
std::vector<TDayMean> InShownUnit(std::vector<TDayMean> days, bool metric);

// A week by its ISO name (2026-W53), a month as yyyy-MM, a day as yyyy-MM-dd.
QString PeriodName(const TPeriodMean& period, TPeriod kind);

// An empty first heading (the value names), then first, last, change, lowest, highest, mean and
// the trend's change per week.
QStringList StatisticsHeading();
// One row per value (weight, FAT, TBW, MUS, bone) of days in the shown unit: its name with the
// unit, then the columns of StatisticsHeading; only the name when the range has no measurement.
std::vector<QStringList> StatisticsRows(const std::vector<TDayMean>& days, bool metric);

// Period, measured days, then the five values.
QStringList MeansHeading(bool metric);
std::vector<QStringList> MeansRows(const std::vector<TPeriodMean>& means, TPeriod kind);
