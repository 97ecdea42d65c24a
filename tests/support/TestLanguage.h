// SPDX-License-Identifier: MIT
#pragma once

#include <QMap>
#include <QString>

// Writes a language file holding texts (a null text leaves its key out) into a new folder under
// parentFolder and makes it the current language; returns its name, empty when that failed.
QString UseTestLanguage(const QString& parentFolder, const QMap<QString, QString>& texts, int langId = 1033);
