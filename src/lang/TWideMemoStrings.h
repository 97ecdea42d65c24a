// SPDX-License-Identifier: MIT
#pragma once

#include "lang/TStrings.h"

class QWidget;

// The lines of a multi-line text box ("Lines" of a QPlainTextEdit or QTextEdit).
class TWideMemoStrings : public TStrings {
    Q_OBJECT
public:
    // memo is a QPlainTextEdit or a QTextEdit.
    explicit TWideMemoStrings(QWidget* memo);

    void SetStrings(const QStringList& entries) override;
    QStringList Strings() const override;

private:
    QWidget* memo_;
};
