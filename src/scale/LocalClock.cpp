// SPDX-License-Identifier: MIT
#include "scale/LocalClock.h"

namespace {
LocalClockHook& CurrentHook() {
    static LocalClockHook hook;
    return hook;
}
} // namespace

QDateTime LocalNow() {
    const LocalClockHook& hook = CurrentHook();
    return hook ? hook() : QDateTime::currentDateTime();
}

LocalClockHook SetLocalClockHook(LocalClockHook hook) {
    LocalClockHook previous = std::move(CurrentHook());
    CurrentHook() = std::move(hook);
    return previous;
}
