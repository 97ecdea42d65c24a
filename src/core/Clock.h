// SPDX-License-Identifier: MIT
#pragma once

#include <QDateTime>
#include <functional>

// The one replaceable clock: the computer's local time unless a test sets another.
QDateTime CurrentDateTime();
inline QDate CurrentDate() {
    return CurrentDateTime().date();
}

// Installs clock (an empty one restores the real clock) and returns the previous one.
std::function<QDateTime()> SetClock(std::function<QDateTime()> clock);
