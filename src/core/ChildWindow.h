// SPDX-License-Identifier: MIT
#pragma once

#include <functional>

class QMdiArea;
class QMdiSubWindow;
class QWidget;

// The frame of a child window in the main window's workspace; none while it stands alone.
QMdiSubWindow* FrameOf(QWidget* form);

// Puts a new child window into the workspace. Its frame frees it on closing, and each time the frame
// becomes the active one, onActivate runs guarded, so that an error in it is shown and passes.
QMdiSubWindow* AddChildWindow(QMdiArea* area, QWidget* form, std::function<void()> onActivate);

// Shows the child's frame in front of the others and makes it the active one.
void BringChildToFront(QWidget* form);

// A child closed by itself rather than through its frame takes the frame along.
void CloseFrameOf(QWidget* form);
