// SPDX-License-Identifier: MIT
#include "overview/TfrmOverview.h"

#include "core/ChildWindow.h"
#include "core/Clock.h"
#include "core/ErrorHandler.h"
#include "core/Globals.h"
#include "core/SettingsFile.h"
#include "core/Units.h"
#include "core/WindowRegistry.h"
#include "lang/LangMgr.h"
#include "operations/TfrmDataImport.h"
#include "overview/TBmiBar.h"
#include "overview/TSparkline.h"
#include "records/FormatText.h"
#include "store/DayMeans.h"
#include "store/Goals.h"
#include "store/Statements.h"
#include "store/TdmMain.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <QScrollArea>
#include <QStackedWidget>
#include <QVBoxLayout>
#include <cmath>
#include <exception>

namespace {

const QString SettingsSection = QStringLiteral("Overview");
const QString ShowAtLoginKey = QStringLiteral("ShowAtLogin");

QPointer<TfrmOverview>& overviewInstance() {
    static QPointer<TfrmOverview> instance;
    return instance;
}

QString WithUnit(double value, bool pounds) {
    return QString::number(value, 'f', 1) + QLatin1Char(' ') + GetText(pounds ? "LB" : "KG");
}

// A weight as measured: in pounds by the scale's own table, as the list shows it.
QString MeasuredMass(double kg, bool pounds) {
    return WithUnit(pounds ? KgToLb(kg) : kg, pounds);
}

// A computed mass (a difference, a share, a goal): in pounds by the exact factor.
QString ComputedMass(double kg, bool pounds) {
    return WithUnit(pounds ? KgToLbExact(kg) : kg, pounds);
}

// A change with its sign; one that rounds to nothing has none.
QString SignedMass(double kg, bool pounds) {
    const double shown = std::round((pounds ? KgToLbExact(kg) : kg) * 10) / 10;
    const QString sign = shown > 0 ? QStringLiteral("+") : shown < 0 ? QStringLiteral("\u2212") : QString();
    return sign + WithUnit(std::abs(shown), pounds);
}

QString Percent(double value) {
    return QString::number(value, 'f', 1) + QStringLiteral(" %");
}

QString Kcal(double value) {
    return TextWith("OverviewKcalPerDay", QString::number(std::lround(value)));
}

QString DayText(const QDate& day) {
    return day.toString(QStringLiteral("yyyy-MM-dd"));
}

QFont Scaled(QFont font, double factor, bool bold) {
    font.setPointSizeF(font.pointSizeF() * factor);
    font.setBold(bold);
    return font;
}

} // namespace

TfrmOverview::TfrmOverview(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TfrmOverview"));
    setWindowTitle(QStringLiteral("Overview"));
    resize(900, 640);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(12, 10, 12, 8);
    pnlPages_ = new QStackedWidget(this);
    pnlPages_->setObjectName(QStringLiteral("pnlPages"));
    outer->addWidget(pnlPages_, 1);

    // The figures, in a scroll area so that nothing is squeezed in a small main window.
    auto* scroll = new QScrollArea(pnlPages_);
    scroll->setObjectName(QStringLiteral("pnlFigures"));
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    auto* figures = new QWidget(scroll);
    figures->setObjectName(QStringLiteral("pnlFiguresContent"));
    auto* grid = new QGridLayout(figures);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(12);
    scroll->setWidget(figures);
    pnlPages_->addWidget(scroll);

    const auto form = [](QGroupBox* panel) {
        auto* layout = new QGridLayout(panel);
        layout->setContentsMargins(12, 14, 12, 10);
        layout->setHorizontalSpacing(14);
        layout->setVerticalSpacing(6);
        layout->setColumnStretch(1, 1);
        return layout;
    };

    QGroupBox* latest = Panel("grpLatest", QStringLiteral("Latest Measurement"));
    QGridLayout* latestLayout = form(latest);
    lblLatestWeight_ = Label("lblLatestWeight");
    lblLatestWeight_->setFont(Scaled(font(), 2.4, true));
    lblLatestDate_ = Label("lblLatestDate");
    latestLayout->addWidget(lblLatestWeight_, 0, 0, 1, 2);
    latestLayout->addWidget(lblLatestDate_, 1, 0, 1, 2);
    lblFatCaption_ = Label("lblFatCaption");
    lblTbwCaption_ = Label("lblTbwCaption");
    lblMusCaption_ = Label("lblMusCaption");
    lblBoneCaption_ = Label("lblBoneCaption");
    lblFat_ = Label("lblFat");
    lblTbw_ = Label("lblTbw");
    lblMus_ = Label("lblMus");
    lblBone_ = Label("lblBone");
    const std::pair<QLabel*, QLabel*> details[] = {{lblFatCaption_, lblFat_},
                                                   {lblTbwCaption_, lblTbw_},
                                                   {lblMusCaption_, lblMus_},
                                                   {lblBoneCaption_, lblBone_}};
    for (int i = 0; i < 4; ++i) {
        latestLayout->addWidget(details[i].first, 2 + i, 0);
        latestLayout->addWidget(details[i].second, 2 + i, 1);
    }
    latestLayout->setRowStretch(6, 1);

    QGroupBox* change = Panel("grpChange", QStringLiteral("Change (Trend)"));
    QGridLayout* changeLayout = form(change);
    const char* changeCaptions[] = {"lblChange7Caption", "lblChange30Caption", "lblChange90Caption"};
    const char* changeValues[] = {"lblChange7", "lblChange30", "lblChange90"};
    const char* changeTexts[] = {"Last 7 days", "Last 30 days", "Last 90 days"};
    for (size_t i = 0; i < ChangeDays.size(); ++i) {
        changeLayout->addWidget(Label(changeCaptions[i], QString::fromLatin1(changeTexts[i])), int(i), 0);
        lblChange_[i] = Label(changeValues[i]);
        lblChange_[i]->setFont(Scaled(font(), 1.4, true));
        changeLayout->addWidget(lblChange_[i], int(i), 1);
    }
    changeLayout->setRowStretch(int(ChangeDays.size()), 1);

    QGroupBox* goal = Panel("grpGoal", QStringLiteral("Goal"));
    QGridLayout* goalLayout = form(goal);
    lblNoGoal_ = Label("lblNoGoal");
    lblNoGoal_->setWordWrap(true);
    goalLayout->addWidget(lblNoGoal_, 0, 0, 1, 2);
    pnlGoalFigures_ = new QWidget(goal);
    pnlGoalFigures_->setObjectName(QStringLiteral("pnlGoalFigures"));
    auto* goalFigures = new QGridLayout(pnlGoalFigures_);
    goalFigures->setContentsMargins(0, 0, 0, 0);
    goalFigures->setHorizontalSpacing(14);
    goalFigures->setVerticalSpacing(6);
    goalFigures->setColumnStretch(1, 1);
    lblGoalWeight_ = Label("lblGoalWeight");
    lblGoalLeft_ = Label("lblGoalLeft");
    lblGoalLeft_->setFont(Scaled(font(), 1.4, true));
    lblGoalRate_ = Label("lblGoalRate");
    lblGoalDate_ = Label("lblGoalDate");
    lblGoalTarget_ = Label("lblGoalTarget");
    lblGoalTarget_->setWordWrap(true);
    const std::pair<const char*, const char*> goalCaptions[] = {
        {"lblGoalWeightCaption", "Goal weight"},
        {"lblGoalLeftCaption", "Left to go"},
        {"lblGoalRateCaption", "Trend, last 28 days"},
        {"lblGoalDateCaption", "Reached at this rate"},
        {"lblGoalTargetCaption", "Target date"}};
    QLabel* goalValues[] = {lblGoalWeight_, lblGoalLeft_, lblGoalRate_, lblGoalDate_, lblGoalTarget_};
    for (int i = 0; i < 5; ++i) {
        goalFigures->addWidget(Label(goalCaptions[i].first, QString::fromLatin1(goalCaptions[i].second)), i,
                               0);
        goalFigures->addWidget(goalValues[i], i, 1);
    }
    goalLayout->addWidget(pnlGoalFigures_, 1, 0, 1, 2);
    goalLayout->setRowStretch(2, 1);

    QGroupBox* bmi = Panel("grpBmi", QStringLiteral("Body Mass Index"));
    QGridLayout* bmiLayout = form(bmi);
    lblBmi_ = Label("lblBmi");
    lblBmi_->setFont(Scaled(font(), 2.4, true));
    lblBmiBand_ = Label("lblBmiBand");
    lblBmiBand_->setFont(Scaled(font(), 1.4, true));
    lblBmiNeedsProfile_ = Label("lblBmiNeedsProfile");
    lblBmiNeedsProfile_->setWordWrap(true);
    pbxBmi_ = new TBmiBar(bmi);
    pbxBmi_->setObjectName(QStringLiteral("pbxBmi"));
    bmiLayout->addWidget(lblBmi_, 0, 0);
    bmiLayout->addWidget(lblBmiBand_, 0, 1, Qt::AlignLeft | Qt::AlignVCenter);
    bmiLayout->addWidget(lblBmiNeedsProfile_, 1, 0, 1, 2);
    bmiLayout->addWidget(pbxBmi_, 2, 0, 1, 2);
    bmiLayout->setRowStretch(3, 1);

    QGroupBox* body = Panel("grpBody", QStringLiteral("Body Composition"));
    QGridLayout* bodyLayout = form(body);
    lblFatMass_ = Label("lblFatMass");
    lblLeanMass_ = Label("lblLeanMass");
    lblBmrMsj_ = Label("lblBmrMsj");
    lblBmrKm_ = Label("lblBmrKm");
    const std::pair<const char*, const char*> bodyCaptions[] = {
        {"lblFatMassCaption", "Fat mass"},
        {"lblLeanMassCaption", "Lean mass"},
        {"lblBmrMsjCaption", "Basal metabolic rate (Mifflin-St Jeor)"},
        {"lblBmrKmCaption", "Basal metabolic rate (Katch-McArdle)"}};
    QLabel* bodyValues[] = {lblFatMass_, lblLeanMass_, lblBmrMsj_, lblBmrKm_};
    for (int i = 0; i < 4; ++i) {
        QLabel* caption = Label(bodyCaptions[i].first, QString::fromLatin1(bodyCaptions[i].second));
        bodyLayout->addWidget(caption, i, 0);
        bodyValues[i]->setWordWrap(true);
        bodyLayout->addWidget(bodyValues[i], i, 1);
    }
    bodyLayout->setRowStretch(4, 1);

    QGroupBox* recent = Panel("grpRecent", QStringLiteral("Last 90 Days"));
    auto* recentLayout = new QVBoxLayout(recent);
    recentLayout->setContentsMargins(12, 14, 12, 10);
    pbxRecent_ = new TSparkline(recent);
    pbxRecent_->setObjectName(QStringLiteral("pbxRecent"));
    recentLayout->addWidget(pbxRecent_);

    grid->addWidget(latest, 0, 0);
    grid->addWidget(change, 0, 1);
    grid->addWidget(goal, 0, 2);
    grid->addWidget(bmi, 1, 0);
    grid->addWidget(body, 1, 1, 1, 2);
    grid->addWidget(recent, 2, 0, 1, 3);
    for (int column = 0; column < 3; ++column)
        grid->setColumnStretch(column, 1);
    grid->setRowStretch(2, 1);

    // With nothing measured yet: say so and offer the import.
    auto* empty = new QWidget(pnlPages_);
    empty->setObjectName(QStringLiteral("pnlEmpty"));
    auto* emptyLayout = new QVBoxLayout(empty);
    emptyLayout->addStretch(1);
    QLabel* noData = Label("lblNoData", QStringLiteral("There are no measurements yet. Import them from the "
                                                       "scale to see where you stand."));
    noData->setParent(empty);
    noData->setFont(Scaled(font(), 1.3, false));
    noData->setWordWrap(true);
    noData->setAlignment(Qt::AlignCenter);
    emptyLayout->addWidget(noData);
    btnImport_ = new QPushButton(QStringLiteral("Data Import..."), empty);
    btnImport_->setObjectName(QStringLiteral("btnImport"));
    btnImport_->setIcon(QIcon(QStringLiteral(":/icons/dataimport.png")));
    btnImport_->setIconSize(QSize(32, 32));
    emptyLayout->addSpacing(12);
    emptyLayout->addWidget(btnImport_, 0, Qt::AlignHCenter);
    emptyLayout->addStretch(2);
    pnlPages_->addWidget(empty);

    chkShowAtLogin_ = new QCheckBox(QStringLiteral("Show the overview after login"), this);
    chkShowAtLogin_->setObjectName(QStringLiteral("chkShowAtLogin"));
    outer->addWidget(chkShowAtLogin_);

    connect(btnImport_, &QPushButton::clicked, this, Guarded([this] { btnImportClick(); }));
    connect(chkShowAtLogin_, &QCheckBox::clicked, this, Guarded([this] { chkShowAtLoginClick(); }));
    JoinWindowRegistry(this);
}

TfrmOverview::~TfrmOverview() {
    if (overviewInstance() == this)
        overviewInstance() = nullptr;
}

QGroupBox* TfrmOverview::Panel(const char* name, const QString& title) {
    auto* panel = new QGroupBox(title, this);
    panel->setObjectName(QLatin1String(name));
    return panel;
}

QLabel* TfrmOverview::Label(const char* name, const QString& text) {
    auto* label = new QLabel(text, this);
    label->setObjectName(QLatin1String(name));
    return label;
}

void TfrmOverview::FormCreate() {
    LangMgr().TranslateForm(this);
    chkShowAtLogin_->setChecked(OverviewShownAtLogin());
    RefreshOverview();
}

void TfrmOverview::FormActivate() {
    if (QMdiSubWindow* frame = FrameOf(this))
        QMetaObject::invokeMethod(frame, &QMdiSubWindow::showMaximized, Qt::QueuedConnection);
    RefreshOverview();
}

void TfrmOverview::RefreshOverview() {
    TdmMain& store = dmMain();
    const int userId = Globals.CurrentUserId;
    const std::vector<TDayMean> days = DailyMeans(store.SelectRows(SqlUserDays(userId)));
    figures_ =
        ComputeOverview(days, ReadOverviewProfile(store, userId), ReadGoal(store, userId), CurrentDate());
    pounds_ = Globals.CurrentUnit != 0;
    ComposeTexts();
}

void TfrmOverview::ComposeTexts() {
    pnlPages_->setCurrentIndex(figures_.Latest ? 0 : 1);
    if (!figures_.Latest)
        return;
    ComposeLatest();
    ComposeBody();
    ComposeGoal();
}

void TfrmOverview::ComposeLatest() {
    const TDayMean& latest = *figures_.Latest;
    lblLatestWeight_->setText(MeasuredMass(latest.Weight, pounds_));
    lblLatestDate_->setText(TextWith("OverviewMeasuredOn", DayText(latest.Day)));
    lblFatCaption_->setText(GetText("FAT"));
    lblTbwCaption_->setText(GetText("TBW"));
    lblMusCaption_->setText(GetText("MUS"));
    lblBoneCaption_->setText(GetText("BONE"));
    lblFat_->setText(Percent(latest.Fat));
    lblTbw_->setText(Percent(latest.Tbw));
    lblMus_->setText(Percent(latest.Mus));
    lblBone_->setText(MeasuredMass(latest.Bone, pounds_));
    for (size_t i = 0; i < ChangeDays.size(); ++i)
        ShowValue(lblChange_[i], figures_.Change[i] ? SignedMass(*figures_.Change[i], pounds_) : QString());

    std::optional<double> goal;
    if (figures_.Goal)
        goal = pounds_ ? KgToLbExact(figures_.Goal->WeightKg) : figures_.Goal->WeightKg;
    const auto inUnit = [this](std::vector<TDayPoint> points) {
        if (pounds_)
            for (TDayPoint& point : points)
                point.Value = KgToLbExact(point.Value);
        return points;
    };
    pbxRecent_->SetSeries(inUnit(figures_.RecentWeight), inUnit(figures_.RecentTrend), goal,
                          figures_.RecentFrom, latest.Day, GetText(pounds_ ? "LB" : "KG"));
    pbxRecent_->SetLegend(
        {GetText("OverviewLegendWeight"), GetText("OverviewLegendTrend"), GetText("OverviewLegendGoal")});
}

void TfrmOverview::ShowValue(QLabel* label, const QString& value) {
    // A missing value is a sentence, not a figure: in the normal font.
    label->setFont(value.isEmpty() ? font() : Scaled(font(), 1.4, true));
    label->setText(value.isEmpty() ? GetText("OverviewNotEnoughData") : value);
}

void TfrmOverview::ComposeBody() {
    const bool bmiKnown = figures_.Bmi.has_value();
    lblBmi_->setVisible(bmiKnown);
    lblBmiBand_->setVisible(bmiKnown);
    lblBmiNeedsProfile_->setVisible(!bmiKnown);
    pbxBmi_->SetBmi(figures_.Bmi);
    if (bmiKnown) {
        lblBmi_->setText(QString::number(*figures_.Bmi, 'f', 1));
        lblBmiBand_->setText(GetText(BmiBandInfo(figures_.BmiBand).TextKey));
    } else {
        lblBmiNeedsProfile_->setText(GetText("OverviewNeedsProfile"));
    }
    lblFatMass_->setText(ComputedMass(figures_.FatMassKg, pounds_));
    lblLeanMass_->setText(ComputedMass(figures_.LeanMassKg, pounds_));
    lblBmrMsj_->setText(figures_.BmrMifflinStJeor ? Kcal(*figures_.BmrMifflinStJeor)
                                                  : GetText("OverviewNeedsProfile"));
    lblBmrKm_->setText(Kcal(figures_.BmrKatchMcArdle));
}

void TfrmOverview::ComposeGoal() {
    const bool hasGoal = figures_.Goal && figures_.Projection;
    lblNoGoal_->setVisible(!hasGoal);
    pnlGoalFigures_->setVisible(hasGoal);
    if (!hasGoal) {
        lblNoGoal_->setText(GetText("OverviewNoGoal"));
        return;
    }
    const TGoal& goal = *figures_.Goal;
    const TGoalProjection& projection = *figures_.Projection;
    lblGoalWeight_->setText(ComputedMass(goal.WeightKg, pounds_));

    const double left = std::round((pounds_ ? KgToLbExact(projection.Left) : projection.Left) * 10) / 10;
    const bool reached = projection.ReachedOn && *projection.ReachedOn == figures_.Latest->Day;
    if (reached || left == 0)
        lblGoalLeft_->setText(GetText("OverviewGoalReached"));
    else
        lblGoalLeft_->setText(
            TextWith(left < 0 ? "OverviewToLose" : "OverviewToGain", WithUnit(std::abs(left), pounds_)));

    lblGoalRate_->setText(projection.RatePerDay
                              ? TextWith("OverviewPerWeek", SignedMass(*projection.RatePerDay * 7, pounds_))
                              : GetText("OverviewNotEnoughData"));
    lblGoalDate_->setText(reached                ? GetText("OverviewGoalReached")
                          : projection.ReachedOn ? DayText(*projection.ReachedOn)
                                                 : GetText("OverviewNotAtThisRate"));

    if (!goal.TargetDate.isValid()) {
        lblGoalTarget_->setText(GetText("OverviewNoTargetDate"));
    } else if (reached) {
        lblGoalTarget_->setText(DayText(goal.TargetDate));
    } else {
        const bool onTrack = projection.ReachedOn && *projection.ReachedOn <= goal.TargetDate;
        lblGoalTarget_->setText(DayText(goal.TargetDate) + QStringLiteral(" \u2013 ") +
                                GetText(onTrack ? "OverviewOnTrack" : "OverviewBehindTarget"));
    }
}

void TfrmOverview::btnImportClick() {
    RunDataImportDialog(window());
    RefreshOverview();
}

void TfrmOverview::chkShowAtLoginClick() {
    WriteIniString(Globals.SettingsPath, SettingsSection, ShowAtLoginKey,
                   chkShowAtLogin_->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
}

bool TfrmOverview::event(QEvent* event) {
    if (event->type() == LanguageChangedEvent()) {
        RunGuarded([this] { ComposeTexts(); });
        return true;
    }
    return QWidget::event(event);
}

void TfrmOverview::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    if (overviewInstance() == this)
        overviewInstance() = nullptr;
    CloseFrameOf(this);
}

TfrmOverview* ShowOverview(QMdiArea* area) {
    QPointer<TfrmOverview>& instance = overviewInstance();
    const bool created = !instance;
    if (created) {
        auto* form = new TfrmOverview;
        instance = form;
        AddChildWindow(area, form, [form] { form->FormActivate(); });
        RunGuarded([form] { form->FormCreate(); });
    }
    TfrmOverview* form = instance;
    BringChildToFront(form);
    if (!created)
        RunGuarded([form] { form->RefreshOverview(); });
    return form;
}

TfrmOverview* OverviewWindow() {
    return overviewInstance().data();
}

void RefreshOverviewIfOpen() {
    if (TfrmOverview* form = OverviewWindow())
        form->RefreshOverview();
}

bool OverviewShownAtLogin() {
    return ReadIniString(Globals.SettingsPath, SettingsSection, ShowAtLoginKey, QStringLiteral("1"))
               .trimmed() != QStringLiteral("0");
}

void ShowOverviewAfterLogin(QMdiArea* area) {
    if (!OverviewShownAtLogin())
        return;
    bool measured = false;
    try {
        const TRowSet rows = dmMain().SelectRows(
            QStringLiteral("select count(*) as N from P_DATA where USER_ID = ?"), {Globals.CurrentUserId});
        measured = !rows.empty() && rows.front().AsInteger(QStringLiteral("N")) > 0;
    } catch (const std::exception&) {
        // A store that cannot be read has already said so at start-up; the overview stays closed.
    }
    if (measured)
        ShowOverview(area);
}
