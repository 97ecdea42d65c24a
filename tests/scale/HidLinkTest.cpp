// SPDX-License-Identifier: MIT
#include "core/AppError.h"
#include "core/Globals.h"
#include "scale/ScaleProtocol.h"
#include "scale/ScaleSelection.h"
#include "scale/THidDeviceController.h"
#include "scale/VirtualHidBackend.h"

#include "ScaleTestSupport.h"
#include "support/MessageBoxRecorder.h"

#include <gtest/gtest.h>

#include <QThread>

namespace {

struct Delivery {
    THidDevice* device;
    std::uint8_t reportId;
    Bytes data;
    bool onGuiThread;
};

// A handler as a dialog sets it: records what it receives.
struct RecordingHandler {
    std::vector<Delivery> deliveries;
    THidDataEvent event() {
        return
            [this](THidDevice* device, std::uint8_t reportId, const std::uint8_t* data, std::uint16_t size) {
                deliveries.push_back({device, reportId, Bytes(data, data + size),
                                      QThread::currentThread() == QCoreApplication::instance()->thread()});
            };
    }
};

// The controller with a virtual back end, and the main window's part: the scale selection rule
// on arrival and removal, with the status text it would show.
class HidLinkTest : public ::testing::Test {
protected:
    HidLinkTest() {
        auto virtualBackend = std::make_unique<VirtualHidBackend>();
        backend = virtualBackend.get();
        pendingBackend = std::move(virtualBackend);
    }
    ~HidLinkTest() override {
        controller.reset();
        EXPECT_EQ(Globals.AttachedScale, nullptr);
        Globals.AttachedScale = nullptr;
    }

    // Creates the controller, as the main window does after login.
    void Start() {
        controller = std::make_unique<THidDeviceController>(std::move(pendingBackend));
        QObject::connect(controller.get(), &THidDeviceController::OnArrival, [this](THidDevice* device) {
            events.push_back(QStringLiteral("arrival ") + device->InstanceId());
            if (SelectArrivedScale(*controller, device))
                status.push_back(QStringLiteral("ScaleConnected"));
        });
        QObject::connect(controller.get(), &THidDeviceController::OnRemoval, [this](THidDevice* device) {
            events.push_back(QStringLiteral("removal ") + device->InstanceId());
            if (ReleaseRemovedScale(*controller, device))
                status.push_back(QStringLiteral("ScaleDisconnected"));
        });
    }

    // Lets the posted device-change notifications run.
    void Settle() { RunEventsFor(20); }

    THidDevice* DeviceOf(const VirtualScale& scale) const {
        for (THidDevice* device : controller->Devices())
            if (device->InstanceId() == scale.instanceId() && device->IsPluggedIn())
                return device;
        return nullptr;
    }

    static bool Write(THidDevice* device, const ScaleRequest& request) {
        std::size_t written = 0;
        return device->WriteReport(request.data(), request.size(), written) && written == request.size();
    }

    VirtualHidBackend* backend = nullptr;
    std::unique_ptr<HidBackend> pendingBackend;
    std::unique_ptr<THidDeviceController> controller;
    QStringList events;
    QStringList status;
};

const VirtualDeviceIdentity Keyboard{0x046D, 0xC31C, 0x0110, true};

TEST_F(HidLinkTest, AScalePluggedInBeforeStartArrivesWhenTheLoopRuns) {
    VirtualScale& scale = backend->plugIn();
    Start();
    EXPECT_TRUE(events.isEmpty()) << "the first enumeration is posted";
    EXPECT_EQ(Globals.AttachedScale, nullptr);
    Settle();
    ASSERT_NE(Globals.AttachedScale, nullptr);
    EXPECT_EQ(Globals.AttachedScale, DeviceOf(scale));
    EXPECT_TRUE(Globals.AttachedScale->IsClaimed());
    EXPECT_EQ(status, QStringList{"ScaleConnected"});
}

TEST_F(HidLinkTest, ArrivalsInEnumerationOrderRemovalsLastToFirst) {
    Start();
    VirtualScale& keyboard = backend->plugIn(Keyboard);
    VirtualScale& scale = backend->plugIn();
    VirtualScale& mouse = backend->plugIn({0x046D, 0xC077, 0x7200, true});
    Settle();
    EXPECT_EQ(events, (QStringList{"arrival " + keyboard.instanceId(), "arrival " + scale.instanceId(),
                                   "arrival " + mouse.instanceId()}));
    ASSERT_EQ(controller->Devices().size(), 3u);

    events.clear();
    backend->unplug(keyboard);
    backend->unplug(scale);
    backend->unplug(mouse);
    Settle();
    EXPECT_EQ(events, (QStringList{"removal " + mouse.instanceId(), "removal " + scale.instanceId(),
                                   "removal " + keyboard.instanceId()}));
    EXPECT_TRUE(controller->Devices().empty())
        << "unclaimed devices are dropped, the released scale destroyed";
    EXPECT_EQ(Globals.AttachedScale, nullptr);
    EXPECT_EQ(status, (QStringList{"ScaleConnected", "ScaleDisconnected"}));
}

TEST_F(HidLinkTest, OnlyVendor0FFFProduct0001IsTheScale) {
    struct Case {
        VirtualDeviceIdentity identity;
        bool taken;
    } const cases[] = {
        {{0x0FFF, 0x0001, 0x0100, true}, true},
        {{0x0FFF, 0x0001, 0x9999, true}, true}, // the version is not looked at
        {{0x0FFF, 0x0002, 0x0100, true}, false},
        {{0x0FFE, 0x0001, 0x0100, true}, false},
    };
    Start();
    for (const Case& c : cases) {
        VirtualScale& device = backend->plugIn(c.identity);
        Settle();
        EXPECT_EQ(Globals.AttachedScale != nullptr, c.taken)
            << std::hex << c.identity.VendorId << ":" << c.identity.ProductId;
        EXPECT_EQ(DeviceOf(device)->IsClaimed(), c.taken);
        backend->unplug(device);
        Settle();
        EXPECT_EQ(Globals.AttachedScale, nullptr);
    }
}

TEST_F(HidLinkTest, ADeviceThatCannotBeOpenedIsSkipped) {
    Start();
    VirtualDeviceIdentity locked;
    locked.Openable = false;
    backend->plugIn(locked);
    Settle();
    EXPECT_TRUE(events.isEmpty());
    EXPECT_TRUE(controller->Devices().empty());
    EXPECT_EQ(Globals.AttachedScale, nullptr);
}

TEST_F(HidLinkTest, WithTwoScalesTheFirstIsUsedAndTheSecondOnlyAfterItIsPluggedInAgain) {
    Start();
    VirtualScale& first = backend->plugIn();
    VirtualScale& second = backend->plugIn();
    Settle();
    EXPECT_EQ(Globals.AttachedScale, DeviceOf(first));
    EXPECT_FALSE(DeviceOf(second)->IsClaimed());

    backend->unplug(first);
    Settle();
    EXPECT_EQ(Globals.AttachedScale, nullptr);
    EXPECT_FALSE(DeviceOf(second)->IsClaimed());

    backend->unplug(second);
    Settle();
    backend->replug(second);
    Settle();
    EXPECT_EQ(Globals.AttachedScale, DeviceOf(second));
    EXPECT_EQ(status, (QStringList{"ScaleConnected", "ScaleDisconnected", "ScaleConnected"}));
}

TEST_F(HidLinkTest, AReplugGivesANewDeviceThatWorks) {
    VirtualScale& scale = backend->plugIn();
    Start();
    Settle();
    const QString firstInstance = Globals.AttachedScale->InstanceId();

    backend->unplug(scale);
    Settle();
    backend->replug(scale);
    Settle();
    ASSERT_NE(Globals.AttachedScale, nullptr);
    EXPECT_NE(Globals.AttachedScale->InstanceId(), firstInstance);
    EXPECT_EQ(controller->Devices().size(), 1u);
    EXPECT_EQ(status, (QStringList{"ScaleConnected", "ScaleDisconnected", "ScaleConnected"}));

    RecordingHandler handler;
    Globals.AttachedScale->SetDataHandler(handler.event());
    ASSERT_TRUE(Write(Globals.AttachedScale, ReadDataCountRequest(1)));
    ASSERT_TRUE(WaitUntil([&] { return !handler.deliveries.empty(); }));
    const Bytes& reply = handler.deliveries[0].data;
    EXPECT_EQ(JudgeReadDataCountReply(reply.data(), reply.size(), 1), ReplyVerdict::Accepted);
    Globals.AttachedScale->SetDataHandler(nullptr);
}

TEST_F(HidLinkTest, ReaderRunsOnlyWhenTheStartConditionHolds) {
    Start();
    VirtualScale& keyboard = backend->plugIn(Keyboard); // not claimed by the selection rule
    Settle();
    THidDevice* device = DeviceOf(keyboard);
    ASSERT_NE(device, nullptr);
    RecordingHandler handler;

    device->SetDataHandler(handler.event());
    EXPECT_FALSE(device->IsReaderRunning()) << "not claimed";
    EXPECT_TRUE(controller->ClaimDevice(device));
    EXPECT_TRUE(device->IsReaderRunning()) << "claiming starts it when a handler is set";
    EXPECT_FALSE(controller->ClaimDevice(device)) << "already claimed";
    device->SetDataHandler(nullptr);
    EXPECT_FALSE(device->IsReaderRunning());
    device->SetDataHandler(handler.event());
    EXPECT_TRUE(device->IsReaderRunning());

    THidDevice* variable = device;
    controller->ReleaseDevice(variable);
    EXPECT_EQ(variable, nullptr);
    EXPECT_FALSE(device->IsReaderRunning());
    EXPECT_FALSE(device->IsClaimed());
    EXPECT_EQ(controller->Devices().size(), 1u) << "a released device still plugged in stays";

    EXPECT_TRUE(controller->ClaimDevice(device));
    EXPECT_TRUE(device->IsReaderRunning());
    backend->unplug(keyboard);
    Settle();
    // Claimed and unplugged: kept until released, without reader or handles.
    ASSERT_EQ(controller->Devices().size(), 1u);
    EXPECT_FALSE(device->IsPluggedIn());
    EXPECT_FALSE(device->IsReaderRunning());
    EXPECT_FALSE(controller->ClaimDevice(device));
    device->SetDataHandler(handler.event());
    EXPECT_FALSE(device->IsReaderRunning());
    controller->ReleaseDevice(device);
    EXPECT_TRUE(controller->Devices().empty());

    THidDevice* stranger = reinterpret_cast<THidDevice*>(&handler);
    EXPECT_FALSE(controller->ClaimDevice(stranger)) << "not one of the controller's";
}

TEST_F(HidLinkTest, WriteNeedsAClaimedPluggedInDevice) {
    Start();
    VirtualScale& keyboard = backend->plugIn(Keyboard);
    Settle();
    THidDevice* device = DeviceOf(keyboard);
    std::size_t written = 99;
    const ScaleRequest request = ReadDataCountRequest(1);
    EXPECT_FALSE(device->WriteReport(request.data(), request.size(), written));
    EXPECT_EQ(written, 0u);
    controller->ClaimDevice(device);
    EXPECT_TRUE(device->WriteReport(request.data(), request.size(), written));
    EXPECT_EQ(written, 9u);
    backend->unplug(keyboard);
    EXPECT_FALSE(device->WriteReport(request.data(), request.size(), written))
        << "gone, removal not yet seen";
    Settle();
    EXPECT_FALSE(device->WriteReport(request.data(), request.size(), written));
    EXPECT_EQ(keyboard.receivedRequests().size(), 1u);
    controller->ReleaseDevice(device);
}

TEST_F(HidLinkTest, ReportsReachTheHandlerOnTheGuiThreadWithTheReportIdSplitOff) {
    VirtualScale& scale = backend->plugIn();
    Start();
    Settle();
    RecordingHandler handler;
    Globals.AttachedScale->SetDataHandler(handler.event());
    ASSERT_TRUE(Write(Globals.AttachedScale, DeleteDataRequest(1)));
    scale.sendInputReport(HexBytes("07 FF 05 01 AA 55 AA 9E EB"));
    ASSERT_TRUE(WaitUntil([&] { return handler.deliveries.size() == 2; }));

    for (const Delivery& delivery : handler.deliveries) {
        EXPECT_EQ(delivery.device, Globals.AttachedScale);
        EXPECT_TRUE(delivery.onGuiThread);
        EXPECT_EQ(delivery.data, ToBytes(DeleteDataAcknowledgement(1)));
        EXPECT_EQ(JudgeDeleteDataReply(delivery.data.data(), delivery.data.size(), 1), ReplyVerdict::Accepted)
            << "the report ID never affects acceptance";
    }
    EXPECT_EQ(handler.deliveries[0].reportId, 0x00);
    EXPECT_EQ(handler.deliveries[1].reportId, 0x07);
    Globals.AttachedScale->SetDataHandler(nullptr);
}

TEST_F(HidLinkTest, ShortAndLongRepliesAreHandedOverAsTheyCame) {
    VirtualScale& scale = backend->plugIn();
    Start();
    Settle();
    RecordingHandler handler;
    Globals.AttachedScale->SetDataHandler(handler.event());
    scale.setNextReplyLength(7);
    ASSERT_TRUE(Write(Globals.AttachedScale, SetDateTimeRequest(QDateTime(QDate(2026, 3, 1), QTime(9, 0)))));
    scale.setNextReplyLength(9);
    ASSERT_TRUE(Write(Globals.AttachedScale, SetDateTimeRequest(QDateTime(QDate(2026, 3, 1), QTime(9, 0)))));
    ASSERT_TRUE(WaitUntil([&] { return handler.deliveries.size() == 2; }));
    EXPECT_EQ(handler.deliveries[0].data.size(), 7u);
    EXPECT_EQ(handler.deliveries[1].data.size(), 9u);
    Globals.AttachedScale->SetDataHandler(nullptr);
}

// A dialog closed before its reply came: the reply goes to whichever handler is set when it
// arrives, and that handler judges it by its own rules.
TEST_F(HidLinkTest, AReplyAfterTheDialogClosedGoesToTheNextHandler) {
    VirtualScale& scale = backend->plugIn();
    Start();
    Settle();
    THidDevice* device = Globals.AttachedScale;
    scale.setReplyDelay(150);

    RecordingHandler clock;
    device->SetDataHandler(clock.event());
    ASSERT_TRUE(Write(device, SetDateTimeRequest(QDateTime(QDate(2026, 3, 1), QTime(9, 0)))));
    device->SetDataHandler(nullptr); // the clock dialog closes at once

    RecordingHandler import;
    device->SetDataHandler(import.event());
    ASSERT_TRUE(WaitUntil([&] { return !import.deliveries.empty(); }));
    EXPECT_TRUE(clock.deliveries.empty());
    const Bytes& late = import.deliveries[0].data;
    EXPECT_EQ(late, ToBytes(SetDateTimeAcknowledgement()));
    EXPECT_EQ(JudgeReadDataCountReply(late.data(), late.size(), 1), ReplyVerdict::Rejected);

    // Replacing a handler while the reader runs changes only who receives.
    RecordingHandler profile;
    ASSERT_TRUE(Write(device, SetUserInfoRequest(1, 1, 170, 67.0, 30)));
    device->SetDataHandler(profile.event());
    ASSERT_TRUE(WaitUntil([&] { return !profile.deliveries.empty(); }));
    EXPECT_EQ(profile.deliveries[0].data, ToBytes(SetUserInfoAcknowledgement()));
    EXPECT_EQ(import.deliveries.size(), 1u);
    device->SetDataHandler(nullptr);
}

TEST_F(HidLinkTest, StartingTheReaderDiscardsRepliesOfAnEarlierExchange) {
    VirtualScale& scale = backend->plugIn();
    scale.addMeasurement(1, {QDate(2026, 2, 1), 70.0, 20.0, 55.0, 40.0, 3.0});
    Start();
    Settle();
    THidDevice* device = Globals.AttachedScale;
    scale.setReplyDelay(20);

    RecordingHandler clock;
    device->SetDataHandler(clock.event());
    ASSERT_TRUE(Write(device, SetDateTimeRequest(QDateTime(QDate(2026, 3, 1), QTime(9, 0)))));
    ASSERT_TRUE(Write(device, SetDateTimeRequest(QDateTime(QDate(2026, 3, 1), QTime(9, 0)))));
    device->SetDataHandler(nullptr);
    QThread::msleep(60); // both acknowledgements are now queued on the read handle

    RecordingHandler import;
    device->SetDataHandler(import.event());
    ASSERT_TRUE(Write(device, ReadDataCountRequest(1)));
    ASSERT_TRUE(WaitUntil([&] { return !import.deliveries.empty(); }));
    RunEventsFor(60);
    ASSERT_EQ(import.deliveries.size(), 1u);
    const Bytes& reply = import.deliveries[0].data;
    EXPECT_EQ(JudgeReadDataCountReply(reply.data(), reply.size(), 1), ReplyVerdict::Accepted);
    EXPECT_EQ(ReadDataCountOf(reply.data()), 1);
    EXPECT_TRUE(clock.deliveries.empty());
    device->SetDataHandler(nullptr);
}

TEST_F(HidLinkTest, StoppingAReaderUnderLoadNeverLocks) {
    VirtualScale& scale = backend->plugIn();
    Start();
    Settle();
    THidDevice* device = Globals.AttachedScale;
    int calls = 0;
    int inside = 0;
    bool overlapped = false;
    const THidDataEvent counting = [&](THidDevice*, std::uint8_t, const std::uint8_t*, std::uint16_t) {
        overlapped = overlapped || inside > 0;
        ++inside;
        ++calls;
        --inside;
    };
    scale.setFlooding(true);
    for (int round = 0; round < 20; ++round) {
        device->SetDataHandler(counting);
        const int before = calls;
        ASSERT_TRUE(WaitUntil([&] { return calls > before + 5; }));
        device->SetDataHandler(nullptr); // with hand-overs queued and the reader reading
        EXPECT_FALSE(device->IsReaderRunning());
    }
    const int stoppedAt = calls;
    RunEventsFor(50);
    EXPECT_EQ(calls, stoppedAt) << "no handler call once stopped";
    EXPECT_FALSE(overlapped);
    scale.setFlooding(false);
}

TEST_F(HidLinkTest, StoppingFromInsideAHandlerDoesNotLock) {
    VirtualScale& scale = backend->plugIn();
    Start();
    Settle();
    THidDevice* device = Globals.AttachedScale;
    int calls = 0;
    device->SetDataHandler([&](THidDevice* self, std::uint8_t, const std::uint8_t*, std::uint16_t) {
        if (++calls == 3)
            self->SetDataHandler(nullptr);
    });
    scale.setFlooding(true);
    ASSERT_TRUE(WaitUntil([&] { return calls >= 3; }));
    EXPECT_FALSE(device->IsReaderRunning());
    RunEventsFor(30);
    EXPECT_EQ(calls, 3);
    scale.setFlooding(false);
}

TEST_F(HidLinkTest, AHandlerThatThrowsDoesNotHoldTheReader) {
    MessageBoxRecorder boxes;
    VirtualScale& scale = backend->plugIn();
    Start();
    Settle();
    int calls = 0;
    Globals.AttachedScale->SetDataHandler([&](THidDevice*, std::uint8_t, const std::uint8_t*, std::uint16_t) {
        if (++calls == 1)
            throw AppError(QStringLiteral("handler failed"));
    });
    scale.sendInputReport(ToBytes(DeleteDataAcknowledgement(1)));
    scale.sendInputReport(ToBytes(DeleteDataAcknowledgement(1)));
    ASSERT_TRUE(WaitUntil([&] { return calls == 2; }));
    EXPECT_EQ(boxes.texts(), QStringList{"handler failed."});
    Globals.AttachedScale->SetDataHandler(nullptr);
}

TEST_F(HidLinkTest, UnpluggedInTheMiddleOfAnExchange) {
    VirtualScale& scale = backend->plugIn();
    Start();
    Settle();
    RecordingHandler handler;
    Globals.AttachedScale->SetDataHandler(handler.event());
    scale.unplugOnNextRequest();
    EXPECT_TRUE(Write(Globals.AttachedScale, ReadDataCountRequest(1)));
    Settle();
    EXPECT_EQ(Globals.AttachedScale, nullptr);
    EXPECT_TRUE(controller->Devices().empty());
    EXPECT_TRUE(handler.deliveries.empty());
    EXPECT_EQ(status, (QStringList{"ScaleConnected", "ScaleDisconnected"}));
}

TEST_F(HidLinkTest, UnpluggedWhileRepliesStream) {
    VirtualScale& scale = backend->plugIn();
    Start();
    Settle();
    int calls = 0;
    Globals.AttachedScale->SetDataHandler(
        [&](THidDevice*, std::uint8_t, const std::uint8_t*, std::uint16_t) { ++calls; });
    scale.setFlooding(true);
    ASSERT_TRUE(WaitUntil([&] { return calls > 10; }));
    backend->unplug(scale);
    Settle();
    EXPECT_EQ(Globals.AttachedScale, nullptr);
    EXPECT_TRUE(controller->Devices().empty());
}

TEST_F(HidLinkTest, DevThreadSleepTimeCopiesOnlyToDevicesStillAtTheOldValue) {
    Start();
    EXPECT_EQ(controller->DevThreadSleepTime(), 100);
    VirtualScale& first = backend->plugIn(Keyboard);
    VirtualScale& second = backend->plugIn(Keyboard);
    Settle();
    ASSERT_TRUE(DeviceOf(first)->SetReaderSleepTime(300));

    controller->SetDevThreadSleepTime(50);
    EXPECT_EQ(DeviceOf(first)->ReaderSleepTime(), 300);
    EXPECT_EQ(DeviceOf(second)->ReaderSleepTime(), 50);

    VirtualScale& later = backend->plugIn(Keyboard);
    Settle();
    EXPECT_EQ(DeviceOf(later)->ReaderSleepTime(), THidDevice::DefaultReaderSleepTime);

    controller->SetDevThreadSleepTime(70);
    EXPECT_EQ(DeviceOf(first)->ReaderSleepTime(), 300);
    EXPECT_EQ(DeviceOf(second)->ReaderSleepTime(), 70);
    EXPECT_EQ(DeviceOf(later)->ReaderSleepTime(), 100);
}

TEST_F(HidLinkTest, ReaderSleepTimeAcceptsOnly10To10000) {
    Start();
    VirtualScale& keyboard = backend->plugIn(Keyboard);
    Settle();
    THidDevice* device = DeviceOf(keyboard);
    struct Case {
        int value;
        bool accepted;
    } const cases[] = {{-1, false}, {0, false},    {9, false},    {10, true},
                       {500, true}, {10000, true}, {10001, false}};
    for (const Case& c : cases) {
        ASSERT_TRUE(device->SetReaderSleepTime(200));
        EXPECT_EQ(device->SetReaderSleepTime(c.value), c.accepted) << c.value;
        EXPECT_EQ(device->ReaderSleepTime(), c.accepted ? c.value : 200) << c.value;
    }
}

TEST_F(HidLinkTest, DestroyingTheControllerReleasesTheScale) {
    VirtualScale& scale = backend->plugIn();
    Start();
    Settle();
    Globals.AttachedScale->SetDataHandler(
        [](THidDevice*, std::uint8_t, const std::uint8_t*, std::uint16_t) {});
    scale.setFlooding(true);
    RunEventsFor(20);
    controller.reset();
    EXPECT_EQ(Globals.AttachedScale, nullptr);
}

} // namespace
