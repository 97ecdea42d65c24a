// SPDX-License-Identifier: MIT
#include "lang/TWideMemoStrings.h"

#include <QPlainTextEdit>
#include <QTextEdit>

TWideMemoStrings::TWideMemoStrings(QWidget* memo) : TStrings(memo), memo_(memo) {}

void TWideMemoStrings::SetStrings(const QStringList& entries) {
    const QString text = entries.join(QLatin1Char('\n'));
    if (auto* plain = qobject_cast<QPlainTextEdit*>(memo_))
        plain->setPlainText(text);
    else if (auto* rich = qobject_cast<QTextEdit*>(memo_))
        rich->setPlainText(text);
}

QStringList TWideMemoStrings::Strings() const {
    QString text;
    if (auto* plain = qobject_cast<QPlainTextEdit*>(memo_))
        text = plain->toPlainText();
    else if (auto* rich = qobject_cast<QTextEdit*>(memo_))
        text = rich->toPlainText();
    return text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n'));
}
