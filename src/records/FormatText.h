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

// The language text of key with its one %s (or %d) filled in by value; the value alone when the
// text takes none, so that a faulty translation still shows the figure.
QString TextWith(const char* key, const QString& value);
QString TextWith(const char* key, int value);
// The language text of key with its one %s filled in by path, in the platform's notation; the text
// and the path side by side when the text takes none, so that the person still learns the file.
QString TextWithPath(const char* key, const QString& path);
