// SPDX-License-Identifier: MIT
#pragma once

#include "charts/PrintMargins.h"

#include <QDialog>
#include <memory>

class QSpinBox;
class TChart;

namespace Ui {
class TfrmMyChartPreview;
}

// The chart print preview: one chart on a sheet of the current printer's paper, with the printer,
// the orientation, the four margins in per cent (or margins that follow the chart's proportions),
// the level of detail and smooth drawing, and printing. The chart keeps the margins, proportional
// mode and detail chosen here for the next preview.
class TfrmMyChartPreview : public QDialog {
    Q_OBJECT
public:
    explicit TfrmMyChartPreview(QWidget* parent = nullptr);
    ~TfrmMyChartPreview() override;

    // What the chart view does before showing the dialog: attaches chart, maximises the dialog,
    // puts the detail at "More" and turns smooth drawing on.
    void Preset(TChart* chart);

    void FormCreate();
    void FormShow();
    void ApplyMargins();
    void PreviewPanel1ChangeMargins(bool disableProportional, const TPrintMargins& newMargins);
    void SETopMaChange();
    void SEBotMaChange();
    void SELeftMaChange();
    void SERightMaChange();
    void CBPropClick();
    void BResetClick();
    void ShowMarginsClick();
    void TrackBar1Change();
    void CheckBox1Click();
    void OrientationClick();
    void CBPrintersChange();
    void BSetupPrinterClick();
    void ShowPrinterOrientation();
    void BPrintClick();
    void BCloseClick();
    void Panel1Resize();

    bool UpdatingMargins() const { return updatingMargins_; }
    bool UpdatingProportional() const { return updatingProportional_; }
    TPrintMargins InitialMargins() const { return initialMargins_; }

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void reject() override;

private:
    TChart* Chart() const;
    void FillPrinterList();
    // A margin box's value is kept as the chart's margin of side unless it reaches 100 together
    // with the opposite margin; then the box shows the margin again.
    void MarginEdited(QSpinBox* box, int TPrintMargins::*side, int TPrintMargins::*opposite);

    std::unique_ptr<Ui::TfrmMyChartPreview> ui;
    bool updatingMargins_ = true;
    bool updatingProportional_ = false;
    TPrintMargins initialMargins_;
};
