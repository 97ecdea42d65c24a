// SPDX-License-Identifier: MIT
#pragma once

#include "scale/HidBackend.h"
#include "scale/VirtualScale.h"

#include <memory>
#include <vector>

// A HID back end of in-process virtual devices that tests and the demo plug in and out. Devices
// enumerate in the order they were (re)plugged; every plug-in gives a new path and instance id.
// Changes are announced through DevicesChanged, posted like the platform's notifications.
class VirtualHidBackend : public HidBackend {
    Q_OBJECT
public:
    explicit VirtualHidBackend(QObject* parent = nullptr);
    ~VirtualHidBackend() override;

    // The returned scale lives as long as the back end, plugged in or not.
    VirtualScale& plugIn(const VirtualDeviceIdentity& identity = {});
    void unplug(VirtualScale& scale);
    // Plugs an unplugged scale in again, with its stored data, as a new device.
    void replug(VirtualScale& scale);

    std::vector<HidDeviceInfo> Enumerate() override;
    std::unique_ptr<HidConnection> Open(const QString& path) override;

private:
    void Attach(VirtualScale& scale);
    void NotifyChange();

    std::vector<std::unique_ptr<VirtualScale>> scales_;
    std::vector<VirtualScale*> plugged_; // enumeration order
    int plugCount_ = 0;
};
