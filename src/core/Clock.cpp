// SPDX-License-Identifier: MIT
#include "core/Clock.h"

namespace {

std::function<QDateTime()>& currentClock() {
    static std::function<QDateTime()> clock;
    return clock;
}

} // namespace

QDateTime CurrentDateTime() {
    const auto& clock = currentClock();
    return clock ? clock() : QDateTime::currentDateTime();
}

std::function<QDateTime()> SetClock(std::function<QDateTime()> clock) {
    auto previous = std::move(currentClock());
    currentClock() = std::move(clock);
    return previous;
}
