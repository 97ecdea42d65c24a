// SPDX-License-Identifier: MIT
#include "charts/TMarginBox.h"

QValidator::State TMarginBox::validate(QString& text, int& pos) const {
    // Never refuse a keystroke: what is not a value stays intermediate, which the box replaces
    // with its value when editing finishes.
    const QValidator::State state = QSpinBox::validate(text, pos);
    return state == QValidator::Acceptable ? state : QValidator::Intermediate;
}
