// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <functional>

class QWidget;

// Style flags and results as the windows use them: 16 error + OK, 64 information + OK,
// 65 information + OK and Cancel.
enum : int {
    MB_OK = 0x00,
    MB_OKCANCEL = 0x01,
    MB_ICONERROR = 0x10,
    MB_ICONINFORMATION = 0x40,
};
enum : int { IDOK = 1, IDCANCEL = 2 };

// Shows a modal message box owned by owner and returns the button that closed it (IDOK or IDCANCEL).
int ShowMessageBox(QWidget* owner, const QString& text, const QString& caption, int flags);

// Every message box goes through this hook; tests replace it to answer boxes and record them.
using MessageBoxHook =
    std::function<int(QWidget* owner, const QString& text, const QString& caption, int flags)>;
// Installs hook (an empty one restores the real box) and returns the previous hook.
MessageBoxHook SetMessageBoxHook(MessageBoxHook hook);
