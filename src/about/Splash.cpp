// SPDX-License-Identifier: MIT
#include "about/Splash.h"

#include "about/TfrmLogo.h"

#include <QEventLoop>
#include <QPointer>
#include <QTimer>

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

void ShowSplashFor(int milliseconds) {
    QWidget* splash = GetSplash();
    splash->show();
    splash->raise();
    splash->repaint();
    // Sleeps until the time is up, waking only for events: paint events keep the splash drawn.
    QEventLoop wait;
    QTimer::singleShot(milliseconds, Qt::PreciseTimer, &wait, &QEventLoop::quit);
    wait.exec(QEventLoop::ExcludeUserInputEvents);
}
