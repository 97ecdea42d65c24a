// SPDX-License-Identifier: MIT
#pragma once

#include "charts/MeasurementCharts.h"
#include "core/DayMean.h"
#include "insight/PeriodMeans.h"

#include <QDate>
#include <QWidget>
#include <memory>
#include <optional>
#include <vector>

class QLineSeries;
class QMdiArea;
class TChart;

namespace Ui {
class TfrmChat;
}

// The chart view: the logged-in user's daily means over a date range, as two charts stacked in
// one child window of the main window (weight and bone; FAT, TBW and MUS), each of which can be
// saved as a bitmap or print-previewed. The points are days, or the means of weeks or months; a
// trend line follows weight and body fat, and the user's goal weight is drawn as a dashed line.
// At most one exists, reached through ShowChartView.
class TfrmChat : public QWidget {
    Q_OBJECT
public:
    explicit TfrmChat(QWidget* parent = nullptr);
    ~TfrmChat() override;

    void FormCreate();
    void FormActivate();
    void FormResize();
    // Rebuilds the series for the current user, the chosen days, the unit setting and the user's
    // goal, read anew from the database.
    void LoadCharts();

    void btnFilterClick();
    void btnSaveWeightClick();
    void btnSaveFatClick();
    void btnPreviewWeightClick();
    void btnPreviewFatClick();
    // Shows or hides both trend lines; the axes fit what is shown.
    void chkTrendClick();
    // Draws the loaded days again as days, weeks or months.
    void cbbPeriodChange();
    // The statistics and the weekly and monthly means of the loaded days, in a dialog.
    void btnStatisticsClick();

    TPeriod Period() const;
    // The daily means of the last load, in the database's unit (kg), and its range.
    const std::vector<TDayMean>& LoadedDays() const { return days_; }
    QDate LoadedFrom() const { return loadedFrom_; }
    QDate LoadedTo() const { return loadedTo_; }

    TChart* chtWeight() const;
    TChart* chtBMI() const;
    QLineSeries* srsWeight() const { return charts_->srsWeight(); }
    QLineSeries* srsBone() const { return charts_->srsBone(); }
    QLineSeries* srsFat() const { return charts_->srsFat(); }
    QLineSeries* srsTBW() const { return charts_->srsTBW(); }
    QLineSeries* srsMus() const { return charts_->srsMus(); }
    QLineSeries* srsWeightTrend() const { return charts_->srsWeightTrend(); }
    QLineSeries* srsFatTrend() const { return charts_->srsFatTrend(); }
    QLineSeries* srsGoal() const { return charts_->srsGoal(); }

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool event(QEvent* event) override;

private:
    void SaveChart(TChart* chart);
    void PreviewChart(TChart* chart);
    void ShowLoadedDays();

    std::unique_ptr<Ui::TfrmChat> ui;
    std::unique_ptr<TMeasurementCharts> charts_;

    std::vector<TDayMean> days_;
    std::optional<double> goalKg_;
    QDate loadedFrom_;
    QDate loadedTo_;
    bool loadedMetric_ = true;
};

// Shows the chart view in area, creating it when none is open, brings it to the front and loads
// its charts; an open view keeps its dates and is reloaded.
void ShowChartView(QMdiArea* area);
// The open chart view, or none.
TfrmChat* ChartView();
