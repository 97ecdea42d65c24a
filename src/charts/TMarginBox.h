// SPDX-License-Identifier: MIT
#pragma once

#include <QSpinBox>

// A margin box: a number with up-down arrows. Any text may be typed; text that is not a whole
// number within the range gives way to the box's value again when the typing is done.
class TMarginBox : public QSpinBox {
    Q_OBJECT
public:
    using QSpinBox::QSpinBox;

protected:
    QValidator::State validate(QString& text, int& pos) const override;
};
