// SPDX-License-Identifier: MIT
// Every test executable runs inside one application object on the offscreen platform, so that
// widget tests and plain tests share a main.
#include "core/Clock.h"
#include "core/ErrorHandler.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    KeepSystemTimeZoneForTheRun(); // as the program does
    ::testing::InitGoogleTest(&argc, argv);
    TApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
