// SPDX-License-Identifier: MIT
#include "charts/TfrmChat.h"

#include "ui_TfrmChat.h"

#include "charts/TChart.h"
#include "charts/TfrmMyChartPreview.h"
#include "core/Clock.h"
#include "core/ErrorHandler.h"
#include "core/Globals.h"
#include "core/SaveFileDialog.h"
#include "core/Units.h"
#include "core/WindowRegistry.h"
#include "lang/LangMgr.h"
#include "store/DayMeans.h"
#include "store/Statements.h"
#include "store/TdmMain.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLineSeries>
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

    TChart* weight = ui->chtWeight;
    weight->SetTitle(QStringLiteral("Weight Chart"));
    weight->SetLeftAxisTitle(QStringLiteral("Weight  Unit:KG"));
    weight->SetZoomAnimated(true);
    srsWeight_ = weight->AddSeries(QStringLiteral("srsWeight"), QStringLiteral("Weight"), Qt::red, true);
    srsBone_ = weight->AddSeries(QStringLiteral("srsBone"), QStringLiteral("Bone"), QColor(0, 128, 0), true);

    TChart* bmi = ui->chtBMI;
    bmi->SetTitle(QStringLiteral("FAT/TBW/MUS Chart"));
    bmi->SetLeftAxisTitle(QStringLiteral("FAT/TBW/MUS"));
    bmi->SetShadowedLegend();
    srsFat_ = bmi->AddSeries(QStringLiteral("srsFat"), QStringLiteral("FAT"), Qt::red, false);
    srsTBW_ = bmi->AddSeries(QStringLiteral("srsTBW"), QStringLiteral("TBW"), QColor(0, 64, 128), false);
    srsMus_ = bmi->AddSeries(QStringLiteral("srsMus"), QStringLiteral("Mus"), QColor(255, 0, 255), false);

    connect(ui->btnFilter, &QPushButton::clicked, this, Guarded([this] { btnFilterClick(); }));
    connect(ui->btnSaveWeight, &QPushButton::clicked, this, Guarded([this] { btnSaveWeightClick(); }));
    connect(ui->btnSaveFat, &QPushButton::clicked, this, Guarded([this] { btnSaveFatClick(); }));
    connect(ui->btnPreviewWeight, &QPushButton::clicked, this, Guarded([this] { btnPreviewWeightClick(); }));
    connect(ui->btnPreviewFat, &QPushButton::clicked, this, Guarded([this] { btnPreviewFatClick(); }));
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
    ComposeTexts();
}

// Every text of the charts that comes from the language: at creation and again whenever the
// language changes, so that a chart never shows two languages at once.
void TfrmChat::ComposeTexts() {
    ui->chtWeight->SetTitle(GetText("ChatTitleWeight"));
    ui->chtBMI->SetTitle(GetText("ChatTitleBMI"));
    ui->chtWeight->SetLeftAxisTitle(GetText(weightAxisKey_));
    ui->chtBMI->SetLeftAxisTitle(GetText("ChatBMILeftAxis"));
    srsWeight_->setName(GetText("ChatSeriesWeight"));
    srsBone_->setName(GetText("ChatSeriesBone"));
    srsFat_->setName(GetText("ChatSeriesFat"));
    srsTBW_->setName(GetText("ChatSeriesTBW"));
    srsMus_->setName(GetText("ChatSeriesMus"));
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
        RunGuarded([this] { ComposeTexts(); });
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
    const bool metric = Globals.CurrentUnit == 0;
    weightAxisKey_ = metric ? "WeightUnitKG" : "WeightUnitLB";
    ui->chtWeight->SetLeftAxisTitle(GetText(weightAxisKey_));
    for (QLineSeries* series : {srsWeight_, srsBone_, srsFat_, srsTBW_, srsMus_})
        series->clear();

    const QDate from = ui->dtpFrom->date();
    const QDate to = ui->dtpTo->date();
    const std::vector<TDayMean> days =
        DailyMeans(dmMain().SelectRows(SqlChartRange(Globals.CurrentUserId, from, to)));

    QList<QPointF> weight, bone, fat, tbw, mus;
    for (QList<QPointF>* points : {&weight, &bone, &fat, &tbw, &mus})
        points->reserve(static_cast<qsizetype>(days.size()));
    for (const TDayMean& day : days) {
        const qreal x = TChart::DayToX(day.Day);
        // The day's mean is converted, not its single rows.
        weight.append({x, metric ? day.Weight : KgToLb(day.Weight)});
        bone.append({x, metric ? day.Bone : KgToLb(day.Bone)});
        fat.append({x, day.Fat});
        tbw.append({x, day.Tbw});
        mus.append({x, day.Mus});
    }
    srsWeight_->replace(weight);
    srsBone_->replace(bone);
    srsFat_->replace(fat);
    srsTBW_->replace(tbw);
    srsMus_->replace(mus);
    ui->chtWeight->FitAxes(from, to);
    ui->chtBMI->FitAxes(from, to);
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
        QMdiSubWindow* frame = area->addSubWindow(view);
        frame->setAttribute(Qt::WA_DeleteOnClose);
        frame->resize(InitialSize);
        QObject::connect(frame, &QMdiSubWindow::windowStateChanged, view,
                         [chart = view.data()](Qt::WindowStates before, Qt::WindowStates now) {
                             if ((now & Qt::WindowActive) && !(before & Qt::WindowActive))
                                 chart->FormActivate();
                         });
        RunGuarded([&] { view->FormCreate(); });
    }
    QWidget* frame = view->parentWidget();
    frame->show();
    frame->raise();
    area->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(frame));
    view->repaint();
    view->LoadCharts();
}

TfrmChat* ChartView() {
    return Instance().data();
}
