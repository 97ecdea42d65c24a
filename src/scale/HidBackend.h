// SPDX-License-Identifier: MIT
#pragma once

#include "scale/HidConnection.h"

#include <QObject>
#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

// One HID device interface as an enumeration finds it.
struct HidDeviceInfo {
    QString Path;       // opens the device
    QString InstanceId; // recognises the same plugged-in device across enumerations
    std::uint16_t VendorId = 0;
    std::uint16_t ProductId = 0;
    std::uint16_t Version = 0;
};

// The program's window to the computer's HID devices: the real one is HidapiBackend, tests and the
// demo use VirtualHidBackend. Used on the GUI thread, except the connections it hands out.
class HidBackend : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // The devices present now, in a stable order; devices that cannot be identified are left out.
    virtual std::vector<HidDeviceInfo> Enumerate() = 0;
    // Opens a device for reading and writing; none when that is not possible.
    virtual std::unique_ptr<HidConnection> Open(const QString& path) = 0;

signals:
    // Devices may have come or gone; emitted on the GUI thread.
    void DevicesChanged();
};
