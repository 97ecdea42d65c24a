// SPDX-License-Identifier: MIT
#pragma once

#include "core/MessageBox.h"

#include <QList>
#include <QString>

class QWidget;

// While it lives, every message box is recorded instead of shown and answered from a queue of
// answers (IDOK once the queue is empty).
class MessageBoxRecorder {
public:
    struct Shown {
        QWidget* owner;
        QString text;
        QString caption;
        int flags;
    };

    MessageBoxRecorder();
    ~MessageBoxRecorder();
    MessageBoxRecorder(const MessageBoxRecorder&) = delete;
    MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;

    void setNextAnswer(int answer) { answers_.append(answer); }
    const QList<Shown>& shown() const { return shown_; }
    QStringList texts() const;
    void clear() { shown_.clear(); }

private:
    MessageBoxHook previous_;
    QList<Shown> shown_;
    QList<int> answers_;
};
