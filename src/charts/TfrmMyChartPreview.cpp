// SPDX-License-Identifier: MIT
#include "charts/TfrmMyChartPreview.h"

#include "ui_TfrmMyChartPreview.h"

#include "charts/TChart.h"
#include "charts/TPrinter.h"
#include "core/ErrorHandler.h"
#include "core/WindowRegistry.h"
#include "lang/LangMgr.h"

#include <QApplication>
#include <QScopeGuard>
#include <QSignalBlocker>

namespace {

constexpr int PrinterListRoom = 346; // what the strip keeps beside the printer list

} // namespace

TfrmMyChartPreview::TfrmMyChartPreview(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TfrmMyChartPreview>()) {
    ui->setupUi(this);
    ui->BClose->setDefault(true);

    const auto onValueChanged = [this](QSpinBox* box, void (TfrmMyChartPreview::*handler)()) {
        connect(box, &QSpinBox::valueChanged, this, Guarded([this, handler] { (this->*handler)(); }));
    };
    onValueChanged(ui->SETopMa, &TfrmMyChartPreview::SETopMaChange);
    onValueChanged(ui->SEBotMa, &TfrmMyChartPreview::SEBotMaChange);
    onValueChanged(ui->SELeftMa, &TfrmMyChartPreview::SELeftMaChange);
    onValueChanged(ui->SERightMa, &TfrmMyChartPreview::SERightMaChange);
    // Check boxes and the slider report programmatic changes too, as the handlers expect.
    connect(ui->CBProp, &QCheckBox::toggled, this, Guarded([this] { CBPropClick(); }));
    connect(ui->CheckBox1, &QCheckBox::toggled, this, Guarded([this] { CheckBox1Click(); }));
    connect(ui->ShowMargins, &QCheckBox::toggled, this, Guarded([this] { ShowMarginsClick(); }));
    connect(ui->Resolution, &QSlider::valueChanged, this, Guarded([this] { TrackBar1Change(); }));
    // The orientation and the printer list answer the person only.
    connect(ui->OrientationPortrait, &QRadioButton::clicked, this, Guarded([this] { OrientationClick(); }));
    connect(ui->OrientationLandscape, &QRadioButton::clicked, this, Guarded([this] { OrientationClick(); }));
    connect(ui->CBPrinters, &QComboBox::activated, this, Guarded([this] { CBPrintersChange(); }));
    connect(ui->BReset, &QPushButton::clicked, this, Guarded([this] { BResetClick(); }));
    connect(ui->BSetupPrinter, &QPushButton::clicked, this, Guarded([this] { BSetupPrinterClick(); }));
    connect(ui->BPrint, &QPushButton::clicked, this, Guarded([this] { BPrintClick(); }));
    connect(ui->BClose, &QPushButton::clicked, this, Guarded([this] { BCloseClick(); }));
    connect(ui->PreviewPanel1, &TPreviewPanel::ChangeMargins, this,
            [this](bool disableProportional, const TPrintMargins& margins) {
                RunGuarded([&] { PreviewPanel1ChangeMargins(disableProportional, margins); });
            });
    ui->Panel1->installEventFilter(this);
    ui->PreviewPanel1->setFocus();
    JoinWindowRegistry(this);
}

TfrmMyChartPreview::~TfrmMyChartPreview() = default;

TChart* TfrmMyChartPreview::Chart() const {
    return ui->PreviewPanel1->Chart();
}

void TfrmMyChartPreview::Preset(TChart* chart) {
    ui->PreviewPanel1->SetChart(chart);
    setWindowState(windowState() | Qt::WindowMaximized);
    {
        const QSignalBlocker blocker(ui->Resolution);
        ui->Resolution->setValue(0);
    }
    TrackBar1Change();
    {
        const QSignalBlocker blocker(ui->CheckBox1);
        ui->CheckBox1->setChecked(true);
    }
    CheckBox1Click();
}

void TfrmMyChartPreview::FormCreate() {
    updatingMargins_ = true;
    updatingProportional_ = false;
    LangMgr().TranslateForm(this);
}

void TfrmMyChartPreview::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        RunGuarded([this] { FormShow(); });
}

void TfrmMyChartPreview::FormShow() {
    unsetCursor();
    // There is always something to print on: at least the PDF file.
    FillPrinterList();
    Printer().SetOrientation(QPageLayout::Landscape);
    ShowPrinterOrientation();

    if (TChart* chart = Chart()) {
        ui->CBProp->setChecked(chart->PrintProportional());
        ui->Resolution->setValue(chart->PrintResolution() + 100);
        initialMargins_ = chart->PrintMargins();
        ApplyMargins();
    } else {
        ui->CBProp->setEnabled(false);
        ui->Resolution->setEnabled(false);
        ui->GBMargins->setEnabled(false);
        ui->BPrint->setEnabled(false);
    }
    ui->CheckBox1->setChecked(ui->PreviewPanel1->AsBitmap());
}

void TfrmMyChartPreview::ApplyMargins() {
    TChart* chart = Chart();
    if (!chart)
        return;
    TPrinter& printer = Printer();
    if (chart->PrintProportional()) {
        initialMargins_ = chart->CalcProportionalMargins(printer.PageSize(), printer.DpiX(), printer.DpiY());
        chart->SetPrintMargins(initialMargins_);
    }
    PreviewPanel1ChangeMargins(false, chart->PrintMargins());
    ui->PreviewPanel1->Repaint();
}

void TfrmMyChartPreview::PreviewPanel1ChangeMargins(bool disableProportional,
                                                    const TPrintMargins& newMargins) {
    updatingMargins_ = true;
    const auto done = qScopeGuard([this] { updatingMargins_ = false; });
    ui->SELeftMa->setValue(newMargins.Left);
    ui->SERightMa->setValue(newMargins.Right);
    ui->SETopMa->setValue(newMargins.Top);
    ui->SEBotMa->setValue(newMargins.Bottom);
    if (disableProportional) {
        if (TChart* chart = Chart()) {
            chart->SetPrintProportional(false);
            // Margins moved on the sheet can be taken back like typed ones.
            ui->BReset->setEnabled(chart->PrintMargins() != initialMargins_);
        }
        updatingProportional_ = true;
        const auto proportionalDone = qScopeGuard([this] { updatingProportional_ = false; });
        ui->CBProp->setChecked(false);
    }
}

void TfrmMyChartPreview::SETopMaChange() {
    if (isVisible())
        MarginEdited(ui->SETopMa, &TPrintMargins::Top, &TPrintMargins::Bottom);
}
void TfrmMyChartPreview::SEBotMaChange() {
    if (isVisible())
        MarginEdited(ui->SEBotMa, &TPrintMargins::Bottom, &TPrintMargins::Top);
}
void TfrmMyChartPreview::SELeftMaChange() {
    if (isVisible())
        MarginEdited(ui->SELeftMa, &TPrintMargins::Left, &TPrintMargins::Right);
}
void TfrmMyChartPreview::SERightMaChange() {
    if (isVisible())
        MarginEdited(ui->SERightMa, &TPrintMargins::Right, &TPrintMargins::Left);
}

void TfrmMyChartPreview::MarginEdited(QSpinBox* box, int TPrintMargins::*side, int TPrintMargins::*opposite) {
    TChart* chart = Chart();
    if (!chart)
        return;
    TPrintMargins margins = chart->PrintMargins();
    if (box->value() + margins.*opposite >= 100) {
        const QSignalBlocker blocker(box);
        box->setValue(margins.*side);
        return;
    }
    margins.*side = box->value();
    chart->SetPrintMargins(margins);
    if (updatingMargins_)
        return;
    ui->PreviewPanel1->Repaint();
    ui->BReset->setEnabled(chart->PrintMargins() != initialMargins_);
    ui->CBProp->setChecked(false);
}

void TfrmMyChartPreview::CBPropClick() {
    if (updatingProportional_)
        return;
    if (TChart* chart = Chart()) {
        chart->SetPrintProportional(ui->CBProp->isChecked());
        ApplyMargins();
    }
}

void TfrmMyChartPreview::BResetClick() {
    TChart* chart = Chart();
    if (!chart)
        return;
    chart->SetPrintMargins(initialMargins_);
    PreviewPanel1ChangeMargins(false, initialMargins_);
    ui->PreviewPanel1->Repaint();
    ui->BReset->setEnabled(false);
}

void TfrmMyChartPreview::ShowMarginsClick() {
    ui->PreviewPanel1->SetMarginsVisible(ui->ShowMargins->isChecked());
}

void TfrmMyChartPreview::TrackBar1Change() {
    if (TChart* chart = Chart()) {
        chart->SetPrintResolution(ui->Resolution->value() - 100);
        ui->PreviewPanel1->Repaint();
    }
}

void TfrmMyChartPreview::CheckBox1Click() {
    ui->PreviewPanel1->SetAsBitmap(ui->CheckBox1->isChecked());
}

void TfrmMyChartPreview::OrientationClick() {
    Printer().SetOrientation(ui->OrientationLandscape->isChecked() ? QPageLayout::Landscape
                                                                   : QPageLayout::Portrait);
    ApplyMargins();
    ui->PreviewPanel1->Repaint();
}

void TfrmMyChartPreview::CBPrintersChange() {
    Printer().SetPrinterIndex(ui->CBPrinters->currentIndex());
    ShowPrinterOrientation();
    OrientationClick();
}

void TfrmMyChartPreview::BSetupPrinterClick() {
    Printer().Setup(this);
    FillPrinterList();
    ShowPrinterOrientation();
    ui->PreviewPanel1->Repaint();
}

// The installed printers, then the PDF file; the current one selected.
void TfrmMyChartPreview::FillPrinterList() {
    TPrinter& printer = Printer();
    ui->CBPrinters->clear();
    ui->CBPrinters->addItems(printer.Printers());
    ui->CBPrinters->addItem(GetText("PdfFile"));
    ui->CBPrinters->setCurrentIndex(printer.PrinterIndex());
}

void TfrmMyChartPreview::ShowPrinterOrientation() {
    const bool landscape = Printer().Orientation() == QPageLayout::Landscape;
    ui->OrientationLandscape->setChecked(landscape);
    ui->OrientationPortrait->setChecked(!landscape);
}

void TfrmMyChartPreview::BPrintClick() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const auto restore = qScopeGuard([] { QApplication::restoreOverrideCursor(); });
    ui->PreviewPanel1->Print();
}

void TfrmMyChartPreview::BCloseClick() {
    done(QDialog::Accepted);
}

// Escape closes the dialog as the Close button does.
void TfrmMyChartPreview::reject() {
    BCloseClick();
}

// The printer list takes what the strip does not need; the buttons stay at its right end.
void TfrmMyChartPreview::Panel1Resize() {
    const int stripWidth = ui->Panel1->width();
    ui->CBPrinters->resize(std::max(0, stripWidth - PrinterListRoom), ui->CBPrinters->height());
    const int buttonsLeft = ui->CBPrinters->geometry().right() + 9;
    ui->BSetupPrinter->move(buttonsLeft, ui->BSetupPrinter->y());
    ui->BPrint->move(buttonsLeft + 92, ui->BPrint->y());
    ui->BClose->move(buttonsLeft + 184, ui->BClose->y());
}

bool TfrmMyChartPreview::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui->Panel1 && event->type() == QEvent::Resize)
        RunGuarded([this] { Panel1Resize(); });
    return QDialog::eventFilter(watched, event);
}
