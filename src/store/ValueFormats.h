// SPDX-License-Identifier: MIT
#pragma once

#include <QDate>
#include <QString>

// How numbers and dates are kept as text in the database. Numbers are always written with "." so
// that the engine stores them as numbers whatever the locale; "," is still accepted when reading
// text that an older writer left behind.

// General format, at most 15 significant digits, no trailing zeros or trailing separator: 70.5, 20.
QString DecimalText(double value);
// The number in text written with "." or ","; 0 (and *ok false) when the text is not a number.
double DecimalFromText(const QString& text, bool* ok = nullptr);
// yyyy-mm-dd; an invalid date gives the empty text.
QString DateText(const QDate& date);
// The date of a yyyy-mm-dd text; an invalid QDate when the text is not one.
QDate DateFromText(const QString& text);
