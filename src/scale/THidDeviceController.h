// SPDX-License-Identifier: MIT
#pragma once

#include "scale/HidBackend.h"
#include "scale/THidDevice.h"

#include <QObject>
#include <memory>
#include <vector>

// Keeps the list of present HID devices, notices them coming and going and runs a reader per
// claimed device with a handler. The main window owns the one instance (HidMgr) with the real
// back end; tests and the demo give it a virtual one. The first enumeration is posted, so it runs
// when the event loop first runs, and a device plugged in before start-up arrives like any other.
class THidDeviceController : public QObject {
    Q_OBJECT
public:
    explicit THidDeviceController(std::unique_ptr<HidBackend> backend, QObject* parent = nullptr);
    // Stops every reader, closes every handle and destroys every device; clears Globals.AttachedScale
    // when it is one of them.
    ~THidDeviceController() override;

    HidBackend& Backend() const { return *backend_; }
    // Known devices in the order they were first reported.
    const std::vector<THidDevice*>& Devices() const { return devices_; }

    // Succeeds for a device of this controller that is plugged in and not yet claimed: marks it
    // claimed and starts its reader when a handler is set.
    bool ClaimDevice(THidDevice* device);
    // Stops the device's reader and closes its handles; a device still plugged in becomes
    // unclaimed, an unplugged one is destroyed. device is set to none.
    void ReleaseDevice(THidDevice*& device);

    // Setting it also sets ReaderSleepTime of every known device that still has the old value.
    // Devices found later start with THidDevice::DefaultReaderSleepTime.
    int DevThreadSleepTime() const { return devThreadSleepTime_; }
    void SetDevThreadSleepTime(int milliseconds);

signals:
    // Raised on the GUI thread for each device found (in enumeration order) and lost (last known
    // first). A removal handler may release the device, which destroys it.
    void OnArrival(THidDevice* device);
    void OnRemoval(THidDevice* device);

private:
    void DeviceChange();
    void RemoveLostDevices(const std::vector<HidDeviceInfo>& present);
    void AddArrivedDevices(const std::vector<HidDeviceInfo>& present);
    void Forget(THidDevice* device);

    std::unique_ptr<HidBackend> backend_;
    std::vector<THidDevice*> devices_; // owned
    int devThreadSleepTime_ = THidDevice::DefaultReaderSleepTime;
    bool changing_ = false;
    bool changePending_ = false;
};
