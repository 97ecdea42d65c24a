// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <functional>

class QWidget;

// Asks which existing file to open; the empty text when the person cancels. filter is in Qt's form
// ("CSV Files (*.csv)").
QString AskOpenFileName(QWidget* owner, const QString& caption, const QString& filter);

// Every open question goes through this hook; tests answer with a path of their own.
using OpenFileHook = std::function<QString(QWidget* owner, const QString& caption, const QString& filter)>;
OpenFileHook SetOpenFileHook(OpenFileHook hook);
