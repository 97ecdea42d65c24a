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
    // Stored days are exactly yyyy-mm-dd: read those digit by digit, since reading years of rows
    // spends most of its time here; anything else goes through Qt's parser.
    if (text.size() == 10 && text[4] == QLatin1Char('-') && text[7] == QLatin1Char('-')) {
        int parts[3] = {0, 0, 0};
        bool digits = true;
        for (int i = 0; i < 10 && digits; ++i) {
            if (i == 4 || i == 7)
                continue;
            const char16_t c = text[i].unicode();
            digits = c >= u'0' && c <= u'9';
            int& part = parts[i < 4 ? 0 : i < 7 ? 1 : 2];
            part = part * 10 + (c - u'0');
        }
        if (digits)
            return QDate(parts[0], parts[1], parts[2]); // invalid for a day the calendar lacks
    }
    return QDate::fromString(text.trimmed(), QStringLiteral("yyyy-MM-dd"));
}
