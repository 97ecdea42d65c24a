// SPDX-License-Identifier: MIT
#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

// Runs the event loop until condition holds or timeoutMs has passed; returns the condition.
template <typename Condition> bool WaitUntil(Condition condition, int timeoutMs = 3000) {
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(1);
    }
    return true;
}

// Runs the event loop for a while, for checking that something does not happen.
inline void RunEventsFor(int milliseconds) {
    WaitUntil([] { return false; }, milliseconds);
}
