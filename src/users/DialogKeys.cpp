// SPDX-License-Identifier: MIT
#include "users/DialogKeys.h"

#include <QKeyEvent>

bool SwallowEnterAndEscape(QKeyEvent* event) {
    const int key = event->key();
    if (key != Qt::Key_Escape && key != Qt::Key_Return && key != Qt::Key_Enter)
        return false;
    event->accept();
    return true;
}
