// SPDX-License-Identifier: MIT
#include "insight/Measures.h"

double ValueOf(const TDayMean& day, TMeasure measure) {
    switch (measure) {
    case TMeasure::Weight:
        return day.Weight;
    case TMeasure::Fat:
        return day.Fat;
    case TMeasure::Tbw:
        return day.Tbw;
    case TMeasure::Mus:
        return day.Mus;
    case TMeasure::Bone:
        return day.Bone;
    }
    return 0;
}

std::vector<TDayPoint> PointsOf(const std::vector<TDayMean>& days, TMeasure measure) {
    std::vector<TDayPoint> points;
    points.reserve(days.size());
    for (const TDayMean& day : days)
        points.push_back({day.Day, ValueOf(day, measure)});
    return points;
}
