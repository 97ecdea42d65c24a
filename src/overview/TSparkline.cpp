// SPDX-License-Identifier: MIT
#include "overview/TSparkline.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <tuple>

namespace {

// A goal further from the plotted values than this share of their span would squash them flat.
constexpr double GoalReach = 1.0;

bool IsDark(const QPalette& palette) {
    return palette.color(QPalette::Base).lightness() < 128;
}

QColor WeightColour(const QPalette& palette) {
    return IsDark(palette) ? QColor(0x6c, 0xb4, 0xf0) : QColor(0x2f, 0x86, 0xde);
}
QColor TrendColour(const QPalette& palette) {
    return IsDark(palette) ? QColor(0xff, 0x9a, 0x4d) : QColor(0xc8, 0x55, 0x10);
}
QColor GoalColour(const QPalette& palette) {
    return IsDark(palette) ? QColor(0x5c, 0xd6, 0x85) : QColor(0x1e, 0x8a, 0x46);
}

QString OneDecimal(double value, const QString& unit) {
    return QString::number(value, 'f', 1) + QLatin1Char(' ') + unit;
}

} // namespace

TSparkline::TSparkline(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void TSparkline::SetSeries(std::vector<TDayPoint> weight, std::vector<TDayPoint> trend,
                           std::optional<double> goal, const QDate& from, const QDate& to,
                           const QString& unit) {
    weight_ = std::move(weight);
    trend_ = std::move(trend);
    goal_ = goal;
    from_ = from;
    to_ = to;
    unit_ = unit;
    update();
}

void TSparkline::SetLegend(const TLegend& legend) {
    legend_ = legend;
    update();
}

std::pair<double, double> TSparkline::SeriesSpan() const {
    double low = weight_.front().Value;
    double high = low;
    for (const std::vector<TDayPoint>* series : {&weight_, &trend_})
        for (const TDayPoint& point : *series) {
            low = std::min(low, point.Value);
            high = std::max(high, point.Value);
        }
    return {low, high};
}

bool TSparkline::ShowsGoal() const {
    if (!goal_ || weight_.empty())
        return false;
    const auto [low, high] = SeriesSpan();
    const double reach = std::max(high - low, 1.0) * GoalReach;
    return *goal_ >= low - reach && *goal_ <= high + reach;
}

void TSparkline::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPalette& colours = palette();
    painter.fillRect(rect(), colours.color(QPalette::Base));
    if (weight_.empty() || !from_.isValid() || from_ >= to_)
        return;

    const QFontMetrics metrics(font());
    const int lineHeight = metrics.height();
    const bool goalShown = ShowsGoal();

    // Plain variables rather than a structured binding: the lambdas below capture them.
    double low = 0;
    double high = 0;
    std::tie(low, high) = SeriesSpan();
    if (goalShown) {
        low = std::min(low, *goal_);
        high = std::max(high, *goal_);
    }
    // A little air above and below; a flat series still gets a span to be drawn in.
    const double margin = std::max((high - low) * 0.08, 0.2);
    low -= margin;
    high += margin;

    const int labelWidth = std::max(metrics.horizontalAdvance(OneDecimal(high, unit_)),
                                    metrics.horizontalAdvance(OneDecimal(low, unit_))) +
                           10;
    const QRectF plot(labelWidth, lineHeight * 1.6, width() - labelWidth - 10,
                      height() - lineHeight * 1.6 - lineHeight - 8);
    if (plot.width() < 20 || plot.height() < 20)
        return;
    const double days = static_cast<double>(from_.daysTo(to_));
    const auto at = [&](const TDayPoint& point) {
        return QPointF(plot.left() + plot.width() * static_cast<double>(from_.daysTo(point.Day)) / days,
                       plot.bottom() - plot.height() * (point.Value - low) / (high - low));
    };

    // Frame, the lowest and highest value, the first and last day.
    const QColor text = colours.color(QPalette::Text);
    QColor grid = text;
    grid.setAlpha(60);
    painter.setPen(QPen(grid, 1));
    painter.drawLine(plot.bottomLeft(), plot.bottomRight());
    painter.drawLine(plot.topLeft(), plot.topRight());
    painter.setPen(text);
    const QRectF topLabel(0, plot.top() - lineHeight / 2.0, labelWidth - 6, lineHeight);
    const QRectF bottomLabel(0, plot.bottom() - lineHeight / 2.0, labelWidth - 6, lineHeight);
    painter.drawText(topLabel, Qt::AlignRight | Qt::AlignVCenter, OneDecimal(high, unit_));
    painter.drawText(bottomLabel, Qt::AlignRight | Qt::AlignVCenter, OneDecimal(low, unit_));
    const QRectF dates(plot.left(), plot.bottom() + 4, plot.width(), lineHeight);
    painter.drawText(dates, Qt::AlignLeft | Qt::AlignTop, from_.toString(QStringLiteral("yyyy-MM-dd")));
    painter.drawText(dates, Qt::AlignRight | Qt::AlignTop, to_.toString(QStringLiteral("yyyy-MM-dd")));

    if (goalShown) {
        const double y = at(TDayPoint{from_, *goal_}).y();
        painter.setPen(QPen(GoalColour(colours), 1.5, Qt::DashLine));
        painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
    }

    QPainterPath daily;
    daily.moveTo(at(weight_.front()));
    for (const TDayPoint& point : weight_)
        daily.lineTo(at(point));
    QColor thin = WeightColour(colours);
    thin.setAlpha(110);
    painter.setPen(QPen(thin, 1));
    painter.drawPath(daily);
    painter.setPen(Qt::NoPen);
    painter.setBrush(WeightColour(colours));
    for (const TDayPoint& point : weight_)
        painter.drawEllipse(at(point), 2.2, 2.2);

    if (!trend_.empty()) {
        QPainterPath trendLine;
        trendLine.moveTo(at(trend_.front()));
        for (const TDayPoint& point : trend_)
            trendLine.lineTo(at(point));
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(TrendColour(colours), 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.drawPath(trendLine);
    }

    // Legend, one line above the plot.
    double x = plot.left();
    const double y = lineHeight * 0.2;
    const auto entry = [&](const QString& caption, const QColor& colour, Qt::PenStyle style, bool dot) {
        if (caption.isEmpty())
            return;
        painter.setPen(QPen(colour, style == Qt::SolidLine && !dot ? 2.5 : 1.5, style));
        painter.drawLine(QPointF(x, y + lineHeight / 2.0), QPointF(x + 18, y + lineHeight / 2.0));
        if (dot) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(colour);
            painter.drawEllipse(QPointF(x + 9, y + lineHeight / 2.0), 2.2, 2.2);
            painter.setBrush(Qt::NoBrush);
        }
        painter.setPen(text);
        const QRectF label(x + 24, y, metrics.horizontalAdvance(caption) + 2, lineHeight);
        painter.drawText(label, Qt::AlignLeft | Qt::AlignVCenter, caption);
        x = label.right() + 18;
    };
    entry(legend_.Weight, WeightColour(colours), Qt::SolidLine, true);
    entry(legend_.Trend, TrendColour(colours), Qt::SolidLine, false);
    // A goal too far away to be drawn is still named, with the way to it.
    if (goal_)
        entry(goalShown ? legend_.Goal
                        : legend_.Goal + QLatin1Char(' ') + OneDecimal(*goal_, unit_) +
                              (*goal_ < low ? QStringLiteral(" \u2193") : QStringLiteral(" \u2191")),
              GoalColour(colours), Qt::DashLine, false);
}
