// SPDX-License-Identifier: MIT
#pragma once

#include "scale/HidBackend.h"

#include <QObject>
#include <QString>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

class THidDevice;
class THidDeviceController;
class THidDeviceReadThread;

// The input-report handler: called on the GUI thread with the report ID split off, data pointing at
// the byte after it and size the number of bytes after it (8 for a scale reply). data is valid only
// during the call.
using THidDataEvent = std::function<void(THidDevice* device, std::uint8_t reportId, const std::uint8_t* data,
                                         std::uint16_t size)>;

// One HID device interface known to the controller. Created by an enumeration (plugged in, not
// claimed); claimed by the scale selection; destroyed by the controller, or by ReleaseDevice once
// unplugged. All members are for the GUI thread.
class THidDevice : public QObject {
    Q_OBJECT
public:
    static constexpr int DefaultReaderSleepTime = 100;
    static constexpr int MinReaderSleepTime = 10;
    static constexpr int MaxReaderSleepTime = 10000;

    ~THidDevice() override;

    THidDeviceController& Controller() const { return controller_; }
    const QString& Path() const { return info_.Path; }
    const QString& InstanceId() const { return info_.InstanceId; }
    std::uint16_t VendorID() const { return info_.VendorId; }
    std::uint16_t ProductID() const { return info_.ProductId; }
    std::uint16_t VersionNumber() const { return info_.Version; }

    bool IsPluggedIn() const { return pluggedIn_; }
    bool IsClaimed() const { return claimed_; }
    bool IsReaderRunning() const { return reader_ != nullptr; }

    // How long the reader waits for a report in one slice, which bounds how long stopping it takes.
    int ReaderSleepTime() const { return readerSleepTime_.load(); }
    // Refuses (returns false, keeps the value) anything outside 10 to 10000 ms.
    bool SetReaderSleepTime(int milliseconds);

    // An empty handler stops the reader first (and waits until it has ended). Then the handler is
    // stored and the reader started when a handler is set, the device is plugged in and claimed
    // and no reader runs. A reader that starts discards the input reports already queued, so a
    // late reply to an earlier exchange cannot be taken for the first reply of this one. Setting
    // a handler while the reader runs only replaces the handler.
    void SetDataHandler(THidDataEvent handler);

    // Writes one output report synchronously; needs the device plugged in and claimed. True when
    // the whole report was taken; written receives the bytes taken (0 on failure).
    bool WriteReport(const std::uint8_t* buffer, std::size_t count, std::size_t& written);

private:
    friend class THidDeviceController;
    friend class THidDeviceReadThread;

    THidDevice(THidDeviceController& controller, HidBackend& backend, const HidDeviceInfo& info);

    void StartReaderIfReady();
    void StopReader();
    void CloseHandles();
    void Unplug();
    void SetClaimed(bool claimed);
    void DeliverReport(std::uint8_t reportId, const std::uint8_t* data, std::uint16_t size);

    THidDeviceController& controller_;
    HidBackend& backend_;
    const HidDeviceInfo info_;
    bool pluggedIn_ = true;
    bool claimed_ = false;
    std::atomic<int> readerSleepTime_{DefaultReaderSleepTime};
    THidDataEvent handler_;
    std::unique_ptr<HidConnection> writeConnection_;
    std::unique_ptr<HidConnection> readConnection_; // stays open between readers
    std::unique_ptr<THidDeviceReadThread> reader_;
};
