// SPDX-License-Identifier: MIT
#pragma once

#include "core/DayMean.h"
#include "insight/PeriodMeans.h"

#include <QDate>
#include <optional>
#include <vector>

class QLineSeries;
class TChart;

// The two charts of a user's measurements: weight with bone on its own axis, the weight trend and
// the goal as a dashed line; FAT, TBW and MUS with the FAT trend. It owns their series, their
// language texts and how daily means become points, so that the chart view and the printed
// report draw the same charts.
class TMeasurementCharts {
public:
    TMeasurementCharts(TChart* weight, TChart* composition);

    // Every text of both charts from the current language; the weight axes name the unit of the
    // last ShowDays (kg before it).
    void ComposeTexts();

    // Shows days (one mean per measured day in kg, ascending) as points of period, in kg or in
    // pounds, with the trend lines when trend is set and the goal (in kg) when there is one, and
    // fits the axes; without points the date axis spans from..to.
    void ShowDays(const std::vector<TDayMean>& days, TPeriod period, bool metric, bool trend,
                  std::optional<double> goalKg, const QDate& from, const QDate& to);

    TChart* Weight() const { return weight_; }
    TChart* Composition() const { return composition_; }
    QLineSeries* srsWeight() const { return srsWeight_; }
    QLineSeries* srsBone() const { return srsBone_; }
    QLineSeries* srsFat() const { return srsFat_; }
    QLineSeries* srsTBW() const { return srsTBW_; }
    QLineSeries* srsMus() const { return srsMus_; }
    QLineSeries* srsWeightTrend() const { return srsWeightTrend_; }
    QLineSeries* srsFatTrend() const { return srsFatTrend_; }
    QLineSeries* srsGoal() const { return srsGoal_; }

private:
    QString GoalTitle() const;

    TChart* weight_;
    TChart* composition_;
    QLineSeries* srsWeight_;
    QLineSeries* srsBone_;
    QLineSeries* srsFat_;
    QLineSeries* srsTBW_;
    QLineSeries* srsMus_;
    QLineSeries* srsWeightTrend_;
    QLineSeries* srsFatTrend_;
    QLineSeries* srsGoal_;
    // The weight axis names the unit of the shown points; before the first showing, its design text.
    const char* weightAxisKey_ = "ChatWeightLeftAxis";
    const char* boneAxisKey_ = "BoneUnitKG";
    std::optional<double> shownGoal_; // in the unit of the shown points
};
