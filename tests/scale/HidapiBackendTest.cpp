// SPDX-License-Identifier: MIT
#include "scale/HidapiBackend.h"
#include "scale/THidDeviceController.h"

#include "ScaleTestSupport.h"

#include <gtest/gtest.h>

#include <QFile>

namespace {

TEST(HidapiBackendTest, EnumeratesAndWatchesWithoutCrashing) {
    HidapiBackend backend;
    const std::vector<HidDeviceInfo> devices = backend.Enumerate();
    for (const HidDeviceInfo& device : devices) {
        EXPECT_FALSE(device.Path.isEmpty());
        EXPECT_FALSE(device.InstanceId.isEmpty());
    }
    EXPECT_FALSE(backend.Open(QStringLiteral("/dev/no-such-hidraw")));
    EXPECT_EQ(backend.WatchesUdev(), QFile::exists(QStringLiteral("/run/udev/control")));
    if (!backend.WatchesUdev()) {
        int changes = 0;
        QObject::connect(&backend, &HidBackend::DevicesChanged, [&] { ++changes; });
        EXPECT_TRUE(WaitUntil([&] { return changes > 0; }, 3 * HidapiBackend::PollIntervalMs))
            << "without udevd the devices are polled";
    }
}

TEST(HidapiBackendTest, ControllerOnTheRealBackEnd) {
    THidDeviceController controller(std::make_unique<HidapiBackend>());
    RunEventsFor(50);
    EXPECT_LE(controller.Devices().size(), controller.Backend().Enumerate().size());
}

} // namespace
