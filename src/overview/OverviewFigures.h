// SPDX-License-Identifier: MIT
#pragma once

#include "core/DayMean.h"
#include "insight/Body.h"
#include "insight/GoalProjection.h"
#include "insight/Measures.h"
#include "store/Goals.h"

#include <QDate>
#include <array>
#include <optional>
#include <vector>

// The profile fields the overview needs; Known is false until the user saved the profile once
// (gender, birthday and height stay NULL before), since the dialog's defaults are nobody's body.
struct TOverviewProfile {
    bool Known = false;
    int GenderIndex = 0;
    QDate Birthday;
    int HeightCm = 0;
};

class TDataRow;
class TdmMain;

// The profile of user userId as stored; not Known when the user has none or no such user exists.
TOverviewProfile ReadOverviewProfile(TdmMain& store, int userId);
// The profile held by a row of P_USERS read with SqlSelectUser.
TOverviewProfile OverviewProfileOf(const TDataRow& user);

// How many days back the overview reports the trend's change.
inline constexpr std::array<int, 3> ChangeDays = {7, 30, 90};
// The span of the sparkline, ending on the latest measured day.
inline constexpr int RecentDays = 90;

// Everything the overview shows, computed from one mean per measured day (ascending), the
// profile and the goal whenever it is shown; nothing of it is stored. Masses in kg.
struct TOverviewFigures {
    std::optional<TDayMean> Latest; // none: the user has no measurement
    double LatestTrend = 0;
    // The trend's change up to the latest day over each of ChangeDays; none when the
    // measurements do not reach back that far.
    std::array<std::optional<double>, ChangeDays.size()> Change;

    std::optional<double> Bmi; // none without a known profile
    TBmiBand BmiBand = TBmiBand::Normal;
    double FatMassKg = 0;
    double LeanMassKg = 0;
    std::optional<double> BmrMifflinStJeor; // none without a known profile
    double BmrKatchMcArdle = 0;

    std::optional<TGoal> Goal;
    std::optional<TGoalProjection> Projection; // with Goal and a measurement

    // The daily weights and their trend over the last RecentDays days up to the latest day.
    std::vector<TDayPoint> RecentWeight;
    std::vector<TDayPoint> RecentTrend;
    QDate RecentFrom;
};

TOverviewFigures ComputeOverview(const std::vector<TDayMean>& days, const TOverviewProfile& profile,
                                 const std::optional<TGoal>& goal, const QDate& today);
