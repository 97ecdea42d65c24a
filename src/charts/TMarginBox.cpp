// SPDX-License-Identifier: MIT
#include "charts/TMarginBox.h"

#include <QKeyEvent>

QValidator::State TMarginBox::validate(QString& text, int& pos) const {
    // Never refuse a keystroke: what is not a value stays intermediate, which the box replaces
    // with its value when editing finishes.
    const QValidator::State state = QSpinBox::validate(text, pos);
    return state == QValidator::Acceptable ? state : QValidator::Intermediate;
}

void TMarginBox::keyPressEvent(QKeyEvent* event) {
    QSpinBox::keyPressEvent(event);
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        event->accept();
}
