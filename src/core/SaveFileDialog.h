// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <functional>

class QWidget;

// Asks where to save a file; the empty text when the person cancels. filter is in Qt's form
// ("Excel files (*.xls)"), defaultSuffix without the dot.
QString AskSaveFileName(QWidget* owner, const QString& caption, const QString& filter,
                        const QString& defaultSuffix);

// Every save question goes through this hook; tests answer with a path of their own.
using SaveFileHook = std::function<QString(QWidget* owner, const QString& caption, const QString& filter,
                                           const QString& defaultSuffix)>;
SaveFileHook SetSaveFileHook(SaveFileHook hook);
