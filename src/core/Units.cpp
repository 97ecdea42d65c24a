// SPDX-License-Identifier: MIT
#include "core/Units.h"

#include "core/AppError.h"

#include <cmath>
#include <cstdint>
#include <limits>

namespace {

// Pounds per kilogram, as the scale's own tables have it (KgToLb's 1.1023 per half kilogram).
constexpr long double PoundsPerKg = 2.2046L;

int truncateToInt32(long double value) {
    const long double truncated = std::trunc(value);
    if (!(truncated >= std::numeric_limits<int32_t>::min() &&
          truncated <= std::numeric_limits<int32_t>::max()))
        throw AppError(QStringLiteral("Range check error"));
    return static_cast<int>(truncated);
}

} // namespace

double CmToInch(int cm) {
    const long double twiceInches = static_cast<long double>(cm) / 1.27L;
    const auto halves = static_cast<int64_t>(std::trunc(twiceInches + 0.5L));
    return static_cast<double>(static_cast<long double>(halves) * 0.5L);
}

int InchToCm(double inches) {
    return truncateToInt32(static_cast<long double>(inches) * 2.54L + 0.5L);
}

QString InchToFeetText(double inches) {
    const int feet = truncateToInt32(static_cast<long double>(inches) / 12.0L);
    const auto rest = static_cast<double>(static_cast<long double>(inches) - 12.0L * feet);
    return QString::asprintf("%d'%0.1f\"", feet, rest);
}

double KgToLb(double kg) {
    const auto tenths =
        static_cast<int64_t>(std::trunc(static_cast<long double>(kg) * (PoundsPerKg / 2) * 10.0L + 0.5L));
    return static_cast<double>(static_cast<long double>(2 * tenths) / 10.0L);
}

QString KgToLbText(double kg) {
    return QString::asprintf("%6.1f", KgToLb(kg));
}

double LbToKg(double lb) {
    return static_cast<double>(static_cast<long double>(lb) / PoundsPerKg);
}

double KgToLbExact(double kg) {
    return static_cast<double>(static_cast<long double>(kg) * PoundsPerKg);
}
