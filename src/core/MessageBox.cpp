// SPDX-License-Identifier: MIT
#include "core/MessageBox.h"

#include <QMessageBox>

namespace {

MessageBoxHook& currentHook() {
    static MessageBoxHook hook;
    return hook;
}

int showRealBox(QWidget* owner, const QString& text, const QString& caption, int flags) {
    const QMessageBox::Icon icon = (flags & 0xF0) == MB_ICONERROR         ? QMessageBox::Critical
                                   : (flags & 0xF0) == MB_ICONINFORMATION ? QMessageBox::Information
                                                                          : QMessageBox::NoIcon;
    const bool okCancel = (flags & 0x0F) == MB_OKCANCEL;
    QMessageBox box(icon, caption, text, okCancel ? QMessageBox::Ok | QMessageBox::Cancel : QMessageBox::Ok,
                    owner);
    box.setDefaultButton(QMessageBox::Ok);
    if (okCancel)
        box.setEscapeButton(QMessageBox::Cancel);
    return box.exec() == QMessageBox::Ok ? IDOK : IDCANCEL;
}

} // namespace

int ShowMessageBox(QWidget* owner, const QString& text, const QString& caption, int flags) {
    const MessageBoxHook& hook = currentHook();
    return hook ? hook(owner, text, caption, flags) : showRealBox(owner, text, caption, flags);
}

MessageBoxHook SetMessageBoxHook(MessageBoxHook hook) {
    MessageBoxHook previous = std::move(currentHook());
    currentHook() = std::move(hook);
    return previous;
}
