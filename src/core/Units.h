// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

// Height and weight conversions between the stored metric values and the imperial display.
// The arithmetic is done in extended precision so that the results match the scale's own tables.

double CmToInch(int cm);               // nearest half inch, halves rounding up
int InchToCm(double inches);           // whole centimetres; AppError when out of 32-bit range
QString InchToFeetText(double inches); // 5'7.5" ; AppError when out of 32-bit range
double KgToLb(double kg);              // always an even number of tenths of a pound
QString KgToLbText(double kg);         // "%6.1f" of KgToLb, no unit

// Exact conversions with the same factor, for values a person types in rather than the scale's
// tenths of a kilogram (a goal in pounds must read back as typed): no rounding to steps.
double LbToKg(double lb);
double KgToLbExact(double kg);
