// SPDX-License-Identifier: MIT
#include "support/MessageBoxRecorder.h"

#include <QStringList>

MessageBoxRecorder::MessageBoxRecorder() {
    previous_ =
        SetMessageBoxHook([this](QWidget* owner, const QString& text, const QString& caption, int flags) {
            shown_.append({owner, text, caption, flags});
            return answers_.isEmpty() ? IDOK : answers_.takeFirst();
        });
}

MessageBoxRecorder::~MessageBoxRecorder() {
    SetMessageBoxHook(std::move(previous_));
}

QStringList MessageBoxRecorder::texts() const {
    QStringList result;
    for (const Shown& box : shown_)
        result.append(box.text);
    return result;
}
