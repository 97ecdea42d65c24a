// SPDX-License-Identifier: MIT
#include "core/Contrast.h"

#include <QGuiApplication>
#include <QPalette>
#include <algorithm>
#include <cmath>

namespace {

double Linear(double channel) {
    return channel <= 0.03928 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
}

double RelativeLuminance(const QColor& colour) {
    return 0.2126 * Linear(colour.redF()) + 0.7152 * Linear(colour.greenF()) +
           0.0722 * Linear(colour.blueF());
}

} // namespace

double ContrastRatio(const QColor& a, const QColor& b) {
    const double la = RelativeLuminance(a);
    const double lb = RelativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor TextColourOn(const QColor& background) {
    const QColor themed = QGuiApplication::palette().color(QPalette::Text);
    if (ContrastRatio(themed, background) >= ReadableContrast)
        return themed;
    const QColor black(Qt::black);
    const QColor white(Qt::white);
    return ContrastRatio(black, background) >= ContrastRatio(white, background) ? black : white;
}

QColor ReadableAgainst(QColor colour, const QColor& other) {
    const bool lighten = colour.lightnessF() >= other.lightnessF() ? true : other.lightnessF() < 0.5;
    for (int step = 0; step < 60 && ContrastRatio(colour, other) < ReadableContrast; ++step)
        colour = lighten ? colour.lighter(108) : colour.darker(108);
    return colour;
}
