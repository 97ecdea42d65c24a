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

// Keeps the system's time zone, as it is when the program starts, for the whole run. Without a TZ
// variable the C library looks at its zone file again on every local time conversion, a file system
// call each, thousands for one chart; naming that same file lets it read the file once. Called at
// the start of main, before any thread runs; a TZ already set is left as it is.
void KeepSystemTimeZoneForTheRun();
