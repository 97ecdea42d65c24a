// SPDX-License-Identifier: MIT
#include "core/Clock.h"

#include <QFileInfo>

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

void KeepSystemTimeZoneForTheRun() {
    static const char* const zoneFile = "/etc/localtime";
    if (qEnvironmentVariableIsSet("TZ") || !QFileInfo::exists(QString::fromLatin1(zoneFile)))
        return;
    qputenv("TZ", QByteArray(":") + zoneFile);
}

std::function<QDateTime()> SetClock(std::function<QDateTime()> clock) {
    auto previous = std::move(currentClock());
    currentClock() = std::move(clock);
    return previous;
}
