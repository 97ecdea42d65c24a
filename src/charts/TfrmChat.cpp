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
#include "core/Units.h"
#include "core/WindowRegistry.h"
#include "insight/Trend.h"
#include "lang/LangMgr.h"
#include "store/DayMeans.h"
#include "store/Goals.h"
#include "store/Statements.h"
#include "store/TdmMain.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QLineSeries>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QStyle>
#include <algorithm>

namespace {

// Posted to the view when it becomes active: it maximises itself once the activation is over.
const QEvent::Type MaximiseEvent = static_cast<QEvent::Type>(QEvent::registerEventType());

const QSize InitialSize(789, 484);
const QColor TrendColor(128, 0, 64);
const QColor GoalColor(0, 0, 160);
constexpr size_t MaxTrendPoints = 500;
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

    TChart* weight = ui->chtWeight;
    weight->SetTitle(QStringLiteral("Weight Chart"));
    weight->SetLeftAxisTitle(QStringLiteral("Weight  Unit:KG"));
    weight->SetZoomAnimated(true);
    srsWeight_ = weight->AddSeries(QStringLiteral("srsWeight"), QStringLiteral("Weight"), Qt::red, true);
    // Bone weighs about a twentieth of the body: on the weight axis it would flatten both lines.
    srsBone_ = weight->AddSeries(QStringLiteral("srsBone"), QStringLiteral("Bone"), QColor(0, 128, 0), true,
                                 TChart::TAxisSide::Right);
    srsWeightTrend_ =
        weight->AddTrendSeries(QStringLiteral("srsWeightTrend"), QStringLiteral("Trend"), TrendColor);
    srsGoal_ = weight->AddGuideLine(QStringLiteral("srsGoal"), QStringLiteral("Goal"), GoalColor);

    TChart* bmi = ui->chtBMI;
    bmi->SetTitle(QStringLiteral("FAT/TBW/MUS Chart"));
    bmi->SetLeftAxisTitle(QStringLiteral("FAT/TBW/MUS"));
    bmi->SetShadowedLegend();
    srsFat_ = bmi->AddSeries(QStringLiteral("srsFat"), QStringLiteral("FAT"), Qt::red, false);
    srsTBW_ = bmi->AddSeries(QStringLiteral("srsTBW"), QStringLiteral("TBW"), QColor(0, 64, 128), false);
    srsMus_ = bmi->AddSeries(QStringLiteral("srsMus"), QStringLiteral("Mus"), QColor(255, 0, 255), false);
    srsFatTrend_ = bmi->AddTrendSeries(QStringLiteral("srsFatTrend"), QStringLiteral("Trend"), TrendColor);

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
    ui->chtWeight->SetRightAxisTitle(GetText(boneAxisKey_));
    srsWeightTrend_->setName(GetText("ChatTrendWeight"));
    srsFatTrend_->setName(GetText("ChatTrendFat"));
    srsGoal_->setName(GoalTitle());
}

// "Goal 68.5": the goal in the unit of the loaded points.
QString TfrmChat::GoalTitle() const {
    if (!shownGoal_)
        return GetText("ChatGoal");
    return QStringLiteral("%1 %2").arg(GetText("ChatGoal"), QString::number(*shownGoal_, 'f', 1));
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
    boneAxisKey_ = metric ? "BoneUnitKG" : "BoneUnitLB";
    ui->chtWeight->SetLeftAxisTitle(GetText(weightAxisKey_));
    ui->chtWeight->SetRightAxisTitle(GetText(boneAxisKey_));
    for (QLineSeries* series :
         {srsWeight_, srsBone_, srsFat_, srsTBW_, srsMus_, srsWeightTrend_, srsFatTrend_})
        series->clear();
    days_.clear();
    goalKg_.reset();
    ui->chtWeight->SetGuideValue(srsGoal_, std::nullopt);

    loadedFrom_ = ui->dtpFrom->date();
    loadedTo_ = ui->dtpTo->date();
    loadedMetric_ = metric;
    days_ = DailyMeans(dmMain().SelectRows(SqlChartRange(Globals.CurrentUserId, loadedFrom_, loadedTo_)));
    if (const std::optional<TGoal> goal = ReadGoal(dmMain(), Globals.CurrentUserId))
        goalKg_ = goal->WeightKg;
    ShowLoadedDays();
}

// The loaded days as points of the chosen period, their trends, and the goal, in the user's unit.
void TfrmChat::ShowLoadedDays() {
    const bool metric = loadedMetric_; // the unit the axis titles name
    // The day's (or period's) mean is converted, not its single rows.
    const auto weightIn = [metric](double kg) { return metric ? kg : KgToLb(kg); };

    const std::vector<TPeriodMean> periods = PeriodMeans(days_, Period());
    QList<QPointF> weight, bone, fat, tbw, mus;
    for (QList<QPointF>* points : {&weight, &bone, &fat, &tbw, &mus})
        points->reserve(static_cast<qsizetype>(periods.size()));
    for (const TPeriodMean& period : periods) {
        const TDayMean& mean = period.Mean;
        const qreal x = TChart::DayToX(mean.Day);
        weight.append({x, weightIn(mean.Weight)});
        bone.append({x, weightIn(mean.Bone)});
        fat.append({x, mean.Fat});
        tbw.append({x, mean.Tbw});
        mus.append({x, mean.Mus});
    }
    srsWeight_->replace(weight);
    srsBone_->replace(bone);
    srsFat_->replace(fat);
    srsTBW_->replace(tbw);
    srsMus_->replace(mus);

    // The trends follow the days, whatever the period: a week's mean is no measurement of its own.
    // A hidden trend is not drawn at all, and a long one is thinned out to at most MaxTrendPoints
    // evenly spaced days (the last one always kept): the average moves too smoothly for the days
    // between them to show, and every point costs the chart as much as a measured one.
    const bool trend = ui->chkTrend->isChecked();
    const auto trendOf = [this](TMeasure measure, bool convert) {
        std::vector<TDayPoint> points = PointsOf(days_, measure);
        if (convert)
            for (TDayPoint& point : points)
                point.Value = KgToLbExact(point.Value);
        const std::vector<TDayPoint> smooth = Trend(points);
        const size_t step = (smooth.size() + MaxTrendPoints - 1) / MaxTrendPoints;
        QList<QPointF> line;
        const size_t kept = smooth.size() / std::max<size_t>(step, 1) + 1;
        line.reserve(static_cast<qsizetype>(kept));
        for (size_t i = 0; i < smooth.size(); ++i)
            if (i % step == 0 || i + 1 == smooth.size())
                line.append({TChart::DayToX(smooth[i].Day), smooth[i].Value});
        return line;
    };
    srsWeightTrend_->replace(trend ? trendOf(TMeasure::Weight, !metric) : QList<QPointF>());
    srsFatTrend_->replace(trend ? trendOf(TMeasure::Fat, false) : QList<QPointF>());

    std::optional<double> goal;
    if (goalKg_)
        goal = metric ? *goalKg_ : KgToLbExact(*goalKg_);
    shownGoal_ = goal;
    srsGoal_->setName(GoalTitle());
    ui->chtWeight->SetGuideValue(srsGoal_, goal);
    FitCharts();
}

void TfrmChat::FitCharts() {
    const bool trend = ui->chkTrend->isChecked();
    srsWeightTrend_->setVisible(trend);
    srsFatTrend_->setVisible(trend);
    ui->chtWeight->FitAxes(loadedFrom_, loadedTo_);
    ui->chtBMI->FitAxes(loadedFrom_, loadedTo_);
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
