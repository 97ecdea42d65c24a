// SPDX-License-Identifier: MIT
#include "charts/TfrmChat.h"

#include "ui_TfrmChat.h"

#include "charts/TChart.h"
#include "charts/TfrmMyChartPreview.h"
#include "charts/TfrmStatistics.h"
#include "core/ChildWindow.h"
#include "core/Clock.h"
#include "core/ErrorHandler.h"
#include "core/Globals.h"
#include "core/SaveFileDialog.h"
#include "core/WindowRegistry.h"
#include "lang/LangMgr.h"
#include "store/DayMeans.h"
#include "store/Goals.h"
#include "store/Statements.h"
#include "store/TdmMain.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QStyle>

namespace {

// Posted to the view when it becomes active: it maximises itself once the activation is over.
const QEvent::Type MaximiseEvent = static_cast<QEvent::Type>(QEvent::registerEventType());

const QSize InitialSize(789, 484);
constexpr int TopPanelHeight = 30;

QPointer<TfrmChat>& Instance() {
    static QPointer<TfrmChat> instance;
    return instance;
}

} // namespace

TfrmChat::TfrmChat(QWidget* parent) : QWidget(parent), ui(std::make_unique<Ui::TfrmChat>()) {
    ui->setupUi(this);
    ui->btnFilter->setIcon(style()->standardIcon(QStyle::SP_BrowserReload));
    ui->btnSaveWeight->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    ui->btnSaveFat->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    ui->btnPreviewWeight->setIcon(style()->standardIcon(QStyle::SP_FileDialogContentsView));
    ui->btnPreviewFat->setIcon(style()->standardIcon(QStyle::SP_FileDialogContentsView));
    ui->btnStatistics->setIcon(style()->standardIcon(QStyle::SP_FileDialogDetailedView));

    charts_ = std::make_unique<TMeasurementCharts>(ui->chtWeight, ui->chtBMI);
    ui->chtWeight->SetZoomAnimated(true);

    connect(ui->btnFilter, &QPushButton::clicked, this, Guarded([this] { btnFilterClick(); }));
    connect(ui->btnSaveWeight, &QPushButton::clicked, this, Guarded([this] { btnSaveWeightClick(); }));
    connect(ui->btnSaveFat, &QPushButton::clicked, this, Guarded([this] { btnSaveFatClick(); }));
    connect(ui->btnPreviewWeight, &QPushButton::clicked, this, Guarded([this] { btnPreviewWeightClick(); }));
    connect(ui->btnPreviewFat, &QPushButton::clicked, this, Guarded([this] { btnPreviewFatClick(); }));
    connect(ui->btnStatistics, &QPushButton::clicked, this, Guarded([this] { btnStatisticsClick(); }));
    connect(ui->chkTrend, &QCheckBox::clicked, this, Guarded([this] { chkTrendClick(); }));
    // Also when the language replaces the items: the charts always show the period the box names.
    connect(ui->cbbPeriod, qOverload<int>(&QComboBox::currentIndexChanged), this,
            Guarded([this] { cbbPeriodChange(); }));
    JoinWindowRegistry(this);
}

TfrmChat::~TfrmChat() = default;

TChart* TfrmChat::chtWeight() const {
    return ui->chtWeight;
}
TChart* TfrmChat::chtBMI() const {
    return ui->chtBMI;
}

void TfrmChat::FormCreate() {
    LangMgr().TranslateForm(this);
    const QDate today = CurrentDate();
    ui->dtpTo->setDate(today);
    ui->dtpFrom->setDate(today.addDays(-30));
    charts_->ComposeTexts();
}

void TfrmChat::FormActivate() {
    QCoreApplication::postEvent(this, new QEvent(MaximiseEvent));
}

bool TfrmChat::event(QEvent* event) {
    if (event->type() == MaximiseEvent) {
        if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget()))
            frame->showMaximized();
        return true;
    }
    if (event->type() == LanguageChangedEvent()) {
        RunGuarded([this] { charts_->ComposeTexts(); });
        return true;
    }
    return QWidget::event(event);
}

void TfrmChat::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    FormResize();
}

// The two charts share the room below the strip equally, 2 pixels from the edges and apart.
void TfrmChat::FormResize() {
    ui->pnlTop->setGeometry(0, 0, width(), TopPanelHeight);
    const int chartWidth = width() - 4;
    const int chartHeight = (height() - TopPanelHeight - 8) / 2;
    if (chartWidth <= 0 || chartHeight <= 0)
        return;
    ui->chtWeight->setGeometry(2, TopPanelHeight + 2, chartWidth, chartHeight);
    ui->chtBMI->setGeometry(2, TopPanelHeight + ui->chtWeight->height() + 4, chartWidth, chartHeight);
}

void TfrmChat::LoadCharts() {
    loadedFrom_ = ui->dtpFrom->date();
    loadedTo_ = ui->dtpTo->date();
    loadedMetric_ = Globals.CurrentUnit == 0;
    // Emptied first: when reading fails, the charts show nothing rather than another range.
    days_.clear();
    goalKg_.reset();
    ShowLoadedDays();
    days_ = DailyMeans(dmMain().SelectRows(SqlChartRange(Globals.CurrentUserId, loadedFrom_, loadedTo_)));
    if (const std::optional<TGoal> goal = ReadGoal(dmMain(), Globals.CurrentUserId))
        goalKg_ = goal->WeightKg;
    ShowLoadedDays();
}

// The loaded days as points of the chosen period, their trends, and the goal, in the unit of the load.
void TfrmChat::ShowLoadedDays() {
    charts_->ShowDays(days_, Period(), loadedMetric_, ui->chkTrend->isChecked(), goalKg_, loadedFrom_,
                      loadedTo_);
}

TPeriod TfrmChat::Period() const {
    switch (ui->cbbPeriod->currentIndex()) {
    case 1:
        return TPeriod::Week;
    case 2:
        return TPeriod::Month;
    default:
        return TPeriod::Day;
    }
}

void TfrmChat::chkTrendClick() {
    ShowLoadedDays();
}

void TfrmChat::cbbPeriodChange() {
    ShowLoadedDays();
}

void TfrmChat::btnStatisticsClick() {
    TfrmStatistics dialog(days_, loadedFrom_, loadedTo_, this);
    RunGuarded([&] { dialog.FormCreate(); });
    dialog.exec();
}

void TfrmChat::btnFilterClick() {
    LoadCharts();
}
void TfrmChat::btnSaveWeightClick() {
    SaveChart(ui->chtWeight);
}
void TfrmChat::btnSaveFatClick() {
    SaveChart(ui->chtBMI);
}
void TfrmChat::btnPreviewWeightClick() {
    PreviewChart(ui->chtWeight);
}
void TfrmChat::btnPreviewFatClick() {
    PreviewChart(ui->chtBMI);
}

void TfrmChat::SaveChart(TChart* chart) {
    QString path =
        AskSaveFileName(this, QString(), QStringLiteral("Bmp files (*.bmp)"), QStringLiteral("bmp"));
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".bmp");
    chart->SaveToBitmapFile(path); // an existing file is replaced without a question
}

void TfrmChat::PreviewChart(TChart* chart) {
    TfrmMyChartPreview preview(this);
    RunGuarded([&] { preview.FormCreate(); });
    preview.Preset(chart);
    preview.exec();
    chart->update();
}

void ShowChartView(QMdiArea* area) {
    QPointer<TfrmChat>& view = Instance();
    if (!view) {
        view = new TfrmChat;
        AddChildWindow(area, view, [chart = view.data()] { chart->FormActivate(); })->resize(InitialSize);
        RunGuarded([&] { view->FormCreate(); });
    }
    BringChildToFront(view);
    view->repaint();
    view->LoadCharts();
}

TfrmChat* ChartView() {
    return Instance().data();
}
