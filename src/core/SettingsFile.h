// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

// The INI settings file: sections in brackets, key=value lines, section and key names compared
// without regard to letter case. A missing or unreadable file, or a missing key, reads as the default.
QString ReadIniString(const QString& path, const QString& section, const QString& key,
                      const QString& defaultValue);

// Sets key in section, creating the file, section or key as needed and keeping every other line.
// Throws AppError "Unable to write to <path>" when the file cannot be written, and when it exists
// but cannot be read: what it holds is never replaced unseen.
void WriteIniString(const QString& path, const QString& section, const QString& key, const QString& value);
