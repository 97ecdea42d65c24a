// SPDX-License-Identifier: MIT
#include "core/MessageBox.h"

#include <QApplication>
#include <QMessageBox>
#include <algorithm>

namespace {

MessageBoxHook& currentHook() {
    static MessageBoxHook hook;
    return hook;
}

// A window that stays on top of the others (the splash while the program starts) would hide a box
// opened behind it: nobody could see or answer the box, and the program would wait for it forever.
bool aStayOnTopWindowIsShown() {
    const QWidgetList windows = QApplication::topLevelWidgets();
    return std::any_of(windows.cbegin(), windows.cend(), [](const QWidget* window) {
        return window->isVisible() && window->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
    });
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
    if (aStayOnTopWindowIsShown())
        box.setWindowFlag(Qt::WindowStaysOnTopHint);
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
