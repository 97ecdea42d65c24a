// SPDX-License-Identifier: MIT
#pragma once

#include <QDate>
#include <QString>

// The program writes and reads every date as yyyy-mm-dd, whatever the person's regional settings:
// in SQL, in lists and in files.
inline const QString ShortDateFormat = QStringLiteral("yyyy-MM-dd");

inline QString DateToStr(const QDate& date) {
    return date.toString(ShortDateFormat);
}
inline QDate StrToDate(const QString& text) {
    return QDate::fromString(text.trimmed(), ShortDateFormat);
}
