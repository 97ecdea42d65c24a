// SPDX-License-Identifier: MIT
#include "core/OpenFileDialog.h"

#include <QFileDialog>

namespace {

OpenFileHook& currentHook() {
    static OpenFileHook hook;
    return hook;
}

} // namespace

QString AskOpenFileName(QWidget* owner, const QString& caption, const QString& filter) {
    if (const OpenFileHook& hook = currentHook())
        return hook(owner, caption, filter);
    QFileDialog dialog(owner, caption, QString(), filter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}

OpenFileHook SetOpenFileHook(OpenFileHook hook) {
    OpenFileHook previous = std::move(currentHook());
    currentHook() = std::move(hook);
    return previous;
}
