// SPDX-License-Identifier: MIT
#pragma once

#include <QList>

class QWidget;

// The windows of the program that exist at this moment, in the order they were created. Every
// program window joins when it is created and leaves by itself when it is destroyed; a language
// switch walks this list.
void JoinWindowRegistry(QWidget* window);
QList<QWidget*> RegisteredWindows();
