// SPDX-License-Identifier: MIT
#pragma once

class QKeyEvent;

// The login and password dialogs have no default and no cancel button: Enter and Escape do nothing.
// True when the key was one of them and has been swallowed.
bool SwallowEnterAndEscape(QKeyEvent* event);
