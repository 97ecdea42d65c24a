// SPDX-License-Identifier: MIT
#pragma once

#include <QWidget>
#include <memory>

class QLineSeries;
class QMdiArea;
class TChart;

namespace Ui {
class TfrmChat;
}

// The chart view: the logged-in user's daily means over a date range, as two charts stacked in
// one child window of the main window (weight and bone; FAT, TBW and MUS), each of which can be
// saved as a bitmap or print-previewed. At most one exists, reached through ShowChartView.
class TfrmChat : public QWidget {
    Q_OBJECT
public:
    explicit TfrmChat(QWidget* parent = nullptr);
    ~TfrmChat() override;

    void FormCreate();
    void FormActivate();
    void FormResize();
    // Rebuilds the five series for the current user, the chosen days and the unit setting.
    void LoadCharts();

    void btnFilterClick();
    void btnSaveWeightClick();
    void btnSaveFatClick();
    void btnPreviewWeightClick();
    void btnPreviewFatClick();

    TChart* chtWeight() const;
    TChart* chtBMI() const;
    QLineSeries* srsWeight() const { return srsWeight_; }
    QLineSeries* srsBone() const { return srsBone_; }
    QLineSeries* srsFat() const { return srsFat_; }
    QLineSeries* srsTBW() const { return srsTBW_; }
    QLineSeries* srsMus() const { return srsMus_; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool event(QEvent* event) override;

private:
    void ComposeTexts();
    void SaveChart(TChart* chart);
    void PreviewChart(TChart* chart);

    std::unique_ptr<Ui::TfrmChat> ui;
    QLineSeries* srsWeight_;
    QLineSeries* srsBone_;
    QLineSeries* srsFat_;
    QLineSeries* srsTBW_;
    QLineSeries* srsMus_;
    // The weight axis names the unit of the loaded points; before the first load, its design text.
    const char* weightAxisKey_ = "ChatWeightLeftAxis";
};

// Shows the chart view in area, creating it when none is open, brings it to the front and loads
// its charts; an open view keeps its dates and is reloaded.
void ShowChartView(QMdiArea* area);
// The open chart view, or none.
TfrmChat* ChartView();
