// SPDX-License-Identifier: MIT
#pragma once

#include <QColor>

// How well two colours tell apart, as the Web Content Accessibility Guidelines measure it: from 1
// (the same luminance) to 21 (black on white). Text needs 4.5 to be readable (level AA).
double ContrastRatio(const QColor& a, const QColor& b);

constexpr double ReadableContrast = 4.5;

// The colour to write on background: the application palette's text colour when it is readable
// there, else black or white, whichever stands out more. Rows with colours of their own use it,
// so that a dark theme's light text never lands on a light row.
QColor TextColourOn(const QColor& background);

// colour, made lighter or darker (away from other's brightness) until it reads against other:
// fixed colours of the design keep their hue in every theme.
QColor ReadableAgainst(QColor colour, const QColor& other);
