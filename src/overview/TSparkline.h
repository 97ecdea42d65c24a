// SPDX-License-Identifier: MIT
#pragma once

#include "insight/Measures.h"

#include <QDate>
#include <QWidget>
#include <optional>
#include <utility>
#include <vector>

// A small chart of the last weeks: each day's weight as a dot on a thin line, the trend as a bold
// line over it and the goal as a dashed line when it lies near the data, with the lowest and
// highest value on the left, the first and last day below and a one-line legend. Values arrive in
// the unit they are shown in; colours follow the palette, so the chart follows the theme.
class TSparkline : public QWidget {
    Q_OBJECT
public:
    explicit TSparkline(QWidget* parent = nullptr);

    struct TLegend {
        QString Weight;
        QString Trend;
        QString Goal;
    };
    void SetSeries(std::vector<TDayPoint> weight, std::vector<TDayPoint> trend, std::optional<double> goal,
                   const QDate& from, const QDate& to, const QString& unit);
    void SetLegend(const TLegend& legend);

    // Whether the goal line is drawn: only when it lies within reach of the plotted values.
    bool ShowsGoal() const;

    QSize sizeHint() const override { return {600, 220}; }
    QSize minimumSizeHint() const override { return {240, 140}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // The lowest and highest value of the weights and their trend; weight_ is not empty.
    std::pair<double, double> SeriesSpan() const;

    std::vector<TDayPoint> weight_;
    std::vector<TDayPoint> trend_;
    std::optional<double> goal_;
    QDate from_;
    QDate to_;
    QString unit_;
    TLegend legend_;
};
