// SPDX-License-Identifier: MIT
#include "overview/TBmiBar.h"

#include "insight/Body.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <array>

namespace {

// One colour per band, from the lowest BMI up, in the order of BmiBands().
constexpr std::array<QRgb, 8> BandColours = {0x2b5fa8, 0x4a8ad1, 0x8dbbe8, 0x3cb371,
                                             0xf2c14e, 0xf29c1f, 0xe0603d, 0xb02a1c};

} // namespace

TBmiBar::TBmiBar(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void TBmiBar::SetBmi(std::optional<double> bmi) {
    bmi_ = bmi;
    update();
}

QSize TBmiBar::sizeHint() const {
    return {360, fontMetrics().height() * 2 + 30};
}

QSize TBmiBar::minimumSizeHint() const {
    return {200, sizeHint().height()};
}

void TBmiBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QFontMetrics metrics(font());
    const QColor text = palette().color(QPalette::WindowText);
    const double markerHeight = 9;
    const double side = metrics.horizontalAdvance(QStringLiteral("18.5")) / 2.0 + 2;
    const QRectF bar(side, markerHeight + 2, width() - 2 * side, 16);
    const auto xOf = [&](double bmi) {
        return bar.left() + bar.width() * (std::clamp(bmi, Lowest, Highest) - Lowest) / (Highest - Lowest);
    };

    QPainterPath rounded;
    rounded.addRoundedRect(bar, 4, 4);
    painter.save();
    painter.setClipPath(rounded);
    const auto& bands = BmiBands();
    for (size_t i = 0; i < bands.size(); ++i) {
        const double left = xOf(std::max(bands[i].Lower, Lowest));
        const double right = i + 1 < bands.size() ? xOf(bands[i].Upper) : bar.right();
        painter.fillRect(QRectF(left, bar.top(), right - left, bar.height()), QColor(BandColours[i]));
    }
    painter.restore();

    // The band edges below the bar; on a narrow bar an edge whose number would touch the one
    // before it keeps its tick and loses its number.
    painter.setPen(text);
    double labelsEnd = -1e9;
    for (size_t i = 1; i < bands.size(); ++i) {
        const double x = xOf(bands[i].Lower);
        painter.drawLine(QPointF(x, bar.bottom()), QPointF(x, bar.bottom() + 4));
        const QString label = QString::number(bands[i].Lower, 'g', 3);
        const double w = metrics.horizontalAdvance(label);
        const QRectF place(x - w / 2 - 1, bar.bottom() + 5, w + 2, metrics.height());
        if (place.left() < labelsEnd + 4)
            continue;
        painter.drawText(place, Qt::AlignCenter, label);
        labelsEnd = place.right();
    }

    if (bmi_) {
        const double x = xOf(*bmi_);
        QPainterPath marker;
        marker.moveTo(x, bar.top() + 3);
        marker.lineTo(x - 7, bar.top() - markerHeight);
        marker.lineTo(x + 7, bar.top() - markerHeight);
        marker.closeSubpath();
        painter.setPen(QPen(palette().color(QPalette::Window), 1.5));
        painter.setBrush(text);
        painter.drawPath(marker);
        painter.setPen(QPen(text, 2));
        painter.drawLine(QPointF(x, bar.top()), QPointF(x, bar.bottom()));
    }
}
