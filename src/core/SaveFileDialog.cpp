// SPDX-License-Identifier: MIT
#include "core/SaveFileDialog.h"

#include <QFileDialog>
#include <QRegularExpression>

namespace {

SaveFileHook& currentHook() {
    static SaveFileHook hook;
    return hook;
}

} // namespace

QString AskSaveFileName(QWidget* owner, const QString& caption, const QString& filter,
                        const QString& defaultSuffix) {
    if (const SaveFileHook& hook = currentHook())
        return hook(owner, caption, filter, defaultSuffix);
    QFileDialog dialog(owner, caption, QString(), filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(defaultSuffix);
    // The callers ask about replacing a file themselves, in the program's own words.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    // A name typed without an extension takes the one of the chosen filter: "(*.csv)" gives csv.
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& chosen) {
        const QRegularExpressionMatch match =
            QRegularExpression(QStringLiteral("\\*\\.(\\w+)")).match(chosen);
        if (match.hasMatch())
            dialog.setDefaultSuffix(match.captured(1));
    });
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}

SaveFileHook SetSaveFileHook(SaveFileHook hook) {
    SaveFileHook previous = std::move(currentHook());
    currentHook() = std::move(hook);
    return previous;
}
