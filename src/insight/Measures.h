// SPDX-License-Identifier: MIT
#pragma once

#include "core/DayMean.h"

#include <QDate>
#include <array>
#include <vector>

// The five values of a measurement, in the order the program lists them.
enum class TMeasure { Weight, Fat, Tbw, Mus, Bone };
inline constexpr std::array<TMeasure, 5> AllMeasures = {TMeasure::Weight, TMeasure::Fat, TMeasure::Tbw,
                                                        TMeasure::Mus, TMeasure::Bone};

// One value on one day.
struct TDayPoint {
    QDate Day;
    double Value = 0;

    friend bool operator==(const TDayPoint& a, const TDayPoint& b) {
        return a.Day == b.Day && a.Value == b.Value;
    }
};

double ValueOf(const TDayMean& day, TMeasure measure);
// One point per day mean, in the same order, holding the chosen value.
std::vector<TDayPoint> PointsOf(const std::vector<TDayMean>& days, TMeasure measure);
