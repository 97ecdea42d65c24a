// SPDX-License-Identifier: MIT
#include "about/Splash.h"

#include "about/TfrmLogo.h"

#include <QPointer>

namespace {

// Cleared by itself should the window be destroyed some other way.
QPointer<TfrmLogo>& SplashWindow() {
    static QPointer<TfrmLogo> window;
    return window;
}

} // namespace

TfrmLogo* GetSplash() {
    if (SplashWindow().isNull())
        SplashWindow() = new TfrmLogo;
    return SplashWindow().data();
}

void FreeSplash() {
    delete SplashWindow().data();
    SplashWindow().clear();
}
