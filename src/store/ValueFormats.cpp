// SPDX-License-Identifier: MIT
#include "store/ValueFormats.h"

QString DecimalText(double value) {
    if (value == 0.0)
        return QStringLiteral("0"); // also for -0, which would otherwise read "-0"
    return QString::number(value, 'g', 15);
}

double DecimalFromText(const QString& text, bool* ok) {
    QString normalized = text.trimmed();
    normalized.replace(QLatin1Char(','), QLatin1Char('.'));
    bool converted = false;
    const double value = normalized.toDouble(&converted);
    if (ok)
        *ok = converted;
    return converted ? value : 0.0;
}

QString DateText(const QDate& date) {
    return date.toString(QStringLiteral("yyyy-MM-dd"));
}

QDate DateFromText(const QString& text) {
    return QDate::fromString(text.trimmed(), QStringLiteral("yyyy-MM-dd"));
}
