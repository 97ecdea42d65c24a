// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <ostream>

// Failure messages show texts as text rather than as arrays of code units.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
