// SPDX-License-Identifier: MIT
#pragma once

#include <QSpinBox>

// A margin box: a number with up-down arrows. Any text may be typed; Enter (or leaving the box)
// takes it, and text that is not a whole number within the range gives way to the box's value
// again. Enter stays with the box, so that taking a typed margin does not also close the dialog.
class TMarginBox : public QSpinBox {
    Q_OBJECT
public:
    using QSpinBox::QSpinBox;

protected:
    QValidator::State validate(QString& text, int& pos) const override;
    void keyPressEvent(QKeyEvent* event) override;
};
