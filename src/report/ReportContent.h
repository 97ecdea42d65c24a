// SPDX-License-Identifier: MIT
#pragma once

#include "core/DayMean.h"
#include "insight/PeriodMeans.h"
#include "overview/OverviewFigures.h"

#include <QDate>
#include <QString>
#include <cstddef>
#include <vector>

class TdmMain;

// What a report says about one user and a range of days, before it is laid out. Masses in kg.
struct TReportContent {
    QString UserName;
    TOverviewProfile Profile;
    double HeightInches = 0; // as the user information keeps it for imperial users
    bool Metric = true;      // kg and cm, else lb and inches
    QDate From;
    QDate To;
    QDate MadeOn;
    std::vector<TDayMean> Days; // one mean per measured day from From to To, ascending
    TOverviewFigures Figures;   // of Days: the latest values, BMI and its band
};

// The content for user userId over from..to, made on today, in the unit of metric.
TReportContent ReadReportContent(TdmMain& store, int userId, bool metric, const QDate& from, const QDate& to,
                                 const QDate& today);

// How many days the proposed range spans.
inline constexpr int DefaultReportDays = 90;
struct TDateRange {
    QDate From;
    QDate To;
};
// The range a report proposes: the DefaultReportDays days up to the latest measurement, from the
// first one when they span less; the days up to today when the user has none.
TDateRange DefaultReportRange(TdmMain& store, int userId, const QDate& today);

// The means table of a report: weeks while they fit into maxRows, else months; when even the
// months do not fit, the most recent maxRows of them and how many earlier ones were left out.
struct TReportMeans {
    TPeriod Kind = TPeriod::Week;
    std::vector<TPeriodMean> Means;
    size_t LeftOut = 0;
};
TReportMeans ChooseReportMeans(const std::vector<TDayMean>& days, size_t maxRows);
