// SPDX-License-Identifier: MIT
#pragma once

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
    QLineSeries* srsWeight() const { return srsWeight_; }
    QLineSeries* srsBone() const { return srsBone_; }
    QLineSeries* srsFat() const { return srsFat_; }
    QLineSeries* srsTBW() const { return srsTBW_; }
    QLineSeries* srsMus() const { return srsMus_; }
    QLineSeries* srsWeightTrend() const { return srsWeightTrend_; }
    QLineSeries* srsFatTrend() const { return srsFatTrend_; }
    QLineSeries* srsGoal() const { return srsGoal_; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool event(QEvent* event) override;

private:
    void ComposeTexts();
    QString GoalTitle() const;
    void SaveChart(TChart* chart);
    void PreviewChart(TChart* chart);
    void ShowLoadedDays();
    void FitCharts();

    std::unique_ptr<Ui::TfrmChat> ui;
    QLineSeries* srsWeight_;
    QLineSeries* srsBone_;
    QLineSeries* srsFat_;
    QLineSeries* srsTBW_;
    QLineSeries* srsMus_;
    // The weight axis names the unit of the loaded points; before the first load, its design text.
    const char* weightAxisKey_ = "ChatWeightLeftAxis";
    const char* boneAxisKey_ = "BoneUnitKG";
    QLineSeries* srsWeightTrend_;
    QLineSeries* srsFatTrend_;
    QLineSeries* srsGoal_;

    std::vector<TDayMean> days_;
    std::optional<double> goalKg_;
    std::optional<double> shownGoal_; // in the unit of the loaded points
    QDate loadedFrom_;
    QDate loadedTo_;
    bool loadedMetric_ = true;
};

// Shows the chart view in area, creating it when none is open, brings it to the front and loads
// its charts; an open view keeps its dates and is reloaded.
void ShowChartView(QMdiArea* area);
// The open chart view, or none.
TfrmChat* ChartView();
