// SPDX-License-Identifier: MIT
#pragma once

#include "scale/HidBackend.h"

class QSocketNotifier;
class QTimer;
struct udev;
struct udev_monitor;

// The computer's HID devices through hidapi's hidraw back end. Arrivals and removals are watched
// with a libudev monitor on the "hidraw" subsystem while udevd runs; where it does not (in a
// container the monitor opens but never speaks) the devices are enumerated again every second.
class HidapiBackend : public HidBackend {
    Q_OBJECT
public:
    static constexpr int PollIntervalMs = 1000;

    explicit HidapiBackend(QObject* parent = nullptr);
    ~HidapiBackend() override;

    std::vector<HidDeviceInfo> Enumerate() override;
    std::unique_ptr<HidConnection> Open(const QString& path) override;

    // True when changes come from udev, false when they are polled.
    bool WatchesUdev() const { return notifier_ != nullptr; }

private:
    void StartWatching();
    void UdevEvent();
    QString InstanceIdOf(const QString& path) const;

    struct udev* udev_ = nullptr;
    udev_monitor* monitor_ = nullptr;
    QSocketNotifier* notifier_ = nullptr;
    QTimer* pollTimer_ = nullptr;
};
