// SPDX-License-Identifier: MIT
#pragma once

#include <QDate>

// The mean measurement of one calendar day: weight and bone in kg, FAT, TBW and MUS in per cent.
// The charts, the statistics and the reports all start from one such mean per measured day.
struct TDayMean {
    QDate Day;
    double Weight = 0;
    double Fat = 0;
    double Tbw = 0;
    double Mus = 0;
    double Bone = 0;
};
