// SPDX-License-Identifier: MIT
#pragma once

#include "core/DayMean.h"
#include "store/TDataRow.h"

#include <vector>

// One mean per day of P_DATA rows that come ordered by THE_DATE, so that a day's rows arrive
// together; the days in the order of the rows. Rows whose THE_DATE is not a date are passed over.
std::vector<TDayMean> DailyMeans(const TRowSet& rows);
