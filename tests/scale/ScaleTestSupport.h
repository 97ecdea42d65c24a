// SPDX-License-Identifier: MIT
#pragma once

#include "support/HexBytes.h"
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QString>
#include <QStringList>
#include <QThread>
#include <cstdint>
#include <vector>

template <typename Container> Bytes ToBytes(const Container& container) {
    return Bytes(container.begin(), container.end());
}

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
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < milliseconds) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(1);
    }
}
