// SPDX-License-Identifier: MIT
#pragma once

class TfrmLogo;

// The splash window, at most one at a time. GetSplash creates it when there is none and returns
// it (not yet shown); FreeSplash destroys it, if there is one.
TfrmLogo* GetSplash();
void FreeSplash();

// Shows the splash in front of every window, painted at once, and waits milliseconds while it
// stays painted; input waits until the wait is over.
void ShowSplashFor(int milliseconds);
