// SPDX-License-Identifier: MIT
#pragma once

#include "store/TDataRow.h"

#include <QDate>
#include <vector>

// The mean measurement of one calendar day: weight and bone in kg, FAT, TBW and MUS in per cent.
struct TDayMean {
    QDate Day;
    double Weight = 0;
    double Fat = 0;
    double Tbw = 0;
    double Mus = 0;
    double Bone = 0;
};

// One mean per day of P_DATA rows that come ordered by THE_DATE, so that a day's rows arrive
// together; the days in the order of the rows. Rows whose THE_DATE is not a date are passed over.
std::vector<TDayMean> DailyMeans(const TRowSet& rows);
