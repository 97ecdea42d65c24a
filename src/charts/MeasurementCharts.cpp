// SPDX-License-Identifier: MIT
#include "charts/MeasurementCharts.h"

#include "charts/TChart.h"
#include "core/Units.h"
#include "insight/Trend.h"
#include "lang/LangMgr.h"

#include <QLineSeries>
#include <algorithm>

namespace {

const QColor TrendColor(128, 0, 64);
const QColor GoalColor(0, 0, 160);
constexpr size_t MaxTrendPoints = 500;

} // namespace

TMeasurementCharts::TMeasurementCharts(TChart* weight, TChart* composition)
    : weight_(weight), composition_(composition) {
    weight->SetTitle(QStringLiteral("Weight Chart"));
    weight->SetLeftAxisTitle(QStringLiteral("Weight  Unit:KG"));
    srsWeight_ = weight->AddSeries(QStringLiteral("srsWeight"), QStringLiteral("Weight"), Qt::red, true);
    // Bone weighs about a twentieth of the body: on the weight axis it would flatten both lines.
    srsBone_ = weight->AddSeries(QStringLiteral("srsBone"), QStringLiteral("Bone"), QColor(0, 128, 0), true,
                                 TChart::TAxisSide::Right);
    srsWeightTrend_ =
        weight->AddTrendSeries(QStringLiteral("srsWeightTrend"), QStringLiteral("Trend"), TrendColor);
    srsGoal_ = weight->AddGuideLine(QStringLiteral("srsGoal"), QStringLiteral("Goal"), GoalColor);

    composition->SetTitle(QStringLiteral("FAT/TBW/MUS Chart"));
    composition->SetLeftAxisTitle(QStringLiteral("FAT/TBW/MUS"));
    composition->SetShadowedLegend();
    srsFat_ = composition->AddSeries(QStringLiteral("srsFat"), QStringLiteral("FAT"), Qt::red, false);
    srsTBW_ =
        composition->AddSeries(QStringLiteral("srsTBW"), QStringLiteral("TBW"), QColor(0, 64, 128), false);
    srsMus_ =
        composition->AddSeries(QStringLiteral("srsMus"), QStringLiteral("Mus"), QColor(255, 0, 255), false);
    srsFatTrend_ =
        composition->AddTrendSeries(QStringLiteral("srsFatTrend"), QStringLiteral("Trend"), TrendColor);
}

// Every text of the charts that comes from the language: at creation and again whenever the
// language changes, so that a chart never shows two languages at once.
void TMeasurementCharts::ComposeTexts() {
    weight_->SetTitle(GetText("ChatTitleWeight"));
    composition_->SetTitle(GetText("ChatTitleBMI"));
    weight_->SetLeftAxisTitle(GetText(weightAxisKey_));
    composition_->SetLeftAxisTitle(GetText("ChatBMILeftAxis"));
    srsWeight_->setName(GetText("ChatSeriesWeight"));
    srsBone_->setName(GetText("ChatSeriesBone"));
    srsFat_->setName(GetText("ChatSeriesFat"));
    srsTBW_->setName(GetText("ChatSeriesTBW"));
    srsMus_->setName(GetText("ChatSeriesMus"));
    weight_->SetRightAxisTitle(GetText(boneAxisKey_));
    srsWeightTrend_->setName(GetText("ChatTrendWeight"));
    srsFatTrend_->setName(GetText("ChatTrendFat"));
    srsGoal_->setName(GoalTitle());
}

// "Goal 68.5": the goal in the unit of the shown points.
QString TMeasurementCharts::GoalTitle() const {
    if (!shownGoal_)
        return GetText("ChatGoal");
    return QStringLiteral("%1 %2").arg(GetText("ChatGoal"), QString::number(*shownGoal_, 'f', 1));
}

void TMeasurementCharts::ShowDays(const std::vector<TDayMean>& days, TPeriod period, bool metric, bool trend,
                                  std::optional<double> goalKg, const QDate& from, const QDate& to) {
    weightAxisKey_ = metric ? "WeightUnitKG" : "WeightUnitLB";
    boneAxisKey_ = metric ? "BoneUnitKG" : "BoneUnitLB";
    weight_->SetLeftAxisTitle(GetText(weightAxisKey_));
    weight_->SetRightAxisTitle(GetText(boneAxisKey_));
    // The day's (or period's) mean is converted, not its single rows.
    const auto weightIn = [metric](double kg) { return metric ? kg : KgToLb(kg); };

    const std::vector<TPeriodMean> periods = PeriodMeans(days, period);
    QList<QPointF> weight, bone, fat, tbw, mus;
    for (QList<QPointF>* points : {&weight, &bone, &fat, &tbw, &mus})
        points->reserve(static_cast<qsizetype>(periods.size()));
    for (const TPeriodMean& entry : periods) {
        const TDayMean& mean = entry.Mean;
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
    const auto trendOf = [&days](TMeasure measure, bool convert) {
        std::vector<TDayPoint> points = PointsOf(days, measure);
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
    if (goalKg)
        goal = metric ? *goalKg : KgToLbExact(*goalKg);
    shownGoal_ = goal;
    srsGoal_->setName(GoalTitle());
    weight_->SetGuideValue(srsGoal_, goal);

    srsWeightTrend_->setVisible(trend);
    srsFatTrend_->setVisible(trend);
    weight_->FitAxes(from, to);
    composition_->FitAxes(from, to);
}
