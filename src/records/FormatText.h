// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <optional>

// Fills a language text that is a printf-like format with one argument, the way the program's
// format texts have always been read: "%" [index ":"] ["-"] [width] ["." precision] type, "%%" for
// a percent sign. An integer fits d, u and x; a text fits s. Any other type, a second argument, a
// "*" or a format that ends inside a placeholder does not fit: the result is then empty.
std::optional<QString> FormatWithInteger(const QString& format, int value);
std::optional<QString> FormatWithText(const QString& format, const QString& text);
