// SPDX-License-Identifier: MIT
#pragma once

#include <QCoreApplication>
#include <QEvent>

// A posted window message: its number (0x8101, 0x8401 ...) is the event type, and wParam and lParam
// travel with it. Windows handle it in their event() override.
class TWindowMessage : public QEvent {
public:
    TWindowMessage(int message, qintptr wParam = 0, qintptr lParam = 0)
        : QEvent(static_cast<QEvent::Type>(message)), WParam(wParam), LParam(lParam) {}

    const qintptr WParam;
    const qintptr LParam;
};

// Message numbers lie between QEvent::User and QEvent::MaxUser, so they are event types as they are.
static_assert(0x8101 > QEvent::User && 0x8401 < QEvent::MaxUser);

inline void PostWindowMessage(QObject* window, int message, qintptr wParam = 0, qintptr lParam = 0) {
    QCoreApplication::postEvent(window, new TWindowMessage(message, wParam, lParam));
}

// Posted to the measurement list to make it read its rows again.
constexpr int WM_REFRESH_MYDATA = 0x8401;
