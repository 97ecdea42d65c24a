// SPDX-License-Identifier: MIT
#pragma once

#include <QDate>

// One measurement as the scale stores it and P_DATA keeps it: the day and five values, each a
// multiple of 0.1 (weight and bone in kg, the others in per cent).
struct MeasurementRecord {
    QDate Date;
    double Weight = 0;
    double Fat = 0;
    double Tbw = 0;
    double Mus = 0;
    double Bone = 0;

    friend bool operator==(const MeasurementRecord& a, const MeasurementRecord& b) {
        return a.Date == b.Date && a.Weight == b.Weight && a.Fat == b.Fat && a.Tbw == b.Tbw &&
               a.Mus == b.Mus && a.Bone == b.Bone;
    }
    friend bool operator!=(const MeasurementRecord& a, const MeasurementRecord& b) { return !(a == b); }
};
