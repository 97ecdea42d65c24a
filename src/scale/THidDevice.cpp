// SPDX-License-Identifier: MIT
#include "scale/THidDevice.h"

#include "scale/THidDeviceController.h"
#include "scale/THidDeviceReadThread.h"

#include <vector>

namespace {
// A device that keeps sending faster than it can be drained is not drained forever.
constexpr int MaxReportsDiscardedAtStart = 256;
} // namespace

THidDevice::THidDevice(THidDeviceController& controller, HidBackend& backend, const HidDeviceInfo& info)
    : controller_(controller), backend_(backend), info_(info) {}

THidDevice::~THidDevice() {
    CloseHandles();
}

bool THidDevice::SetReaderSleepTime(int milliseconds) {
    if (milliseconds < MinReaderSleepTime || milliseconds > MaxReaderSleepTime)
        return false;
    readerSleepTime_ = milliseconds;
    return true;
}

void THidDevice::SetDataHandler(THidDataEvent handler) {
    if (!handler)
        StopReader();
    handler_ = std::move(handler);
    StartReaderIfReady();
}

bool THidDevice::WriteReport(const std::uint8_t* buffer, std::size_t count, std::size_t& written) {
    written = 0;
    if (!pluggedIn_ || !claimed_)
        return false;
    if (!writeConnection_)
        writeConnection_ = backend_.Open(info_.Path);
    if (!writeConnection_)
        return false;
    const int taken = writeConnection_->Write(buffer, count);
    if (taken < 0)
        return false;
    written = static_cast<std::size_t>(taken);
    return written == count;
}

void THidDevice::StartReaderIfReady() {
    if (!handler_ || !pluggedIn_ || !claimed_ || reader_)
        return;
    if (!readConnection_)
        readConnection_ = backend_.Open(info_.Path);
    if (!readConnection_)
        return;
    // Whatever is queued now answered an earlier exchange; the new handler must not take it for
    // the reply to its own first request.
    std::vector<std::uint8_t> discarded(MaxInputReportSize);
    for (int i = 0; i < MaxReportsDiscardedAtStart; ++i) {
        if (readConnection_->Read(discarded.data(), discarded.size(), 0) <= 0)
            break;
    }
    reader_ = std::make_unique<THidDeviceReadThread>(*this, *readConnection_, controller_);
    reader_->start();
}

void THidDevice::StopReader() {
    if (!reader_)
        return;
    // Take it out first, so that a handler reached while stopping sees no reader.
    std::unique_ptr<THidDeviceReadThread> reader = std::move(reader_);
    reader->Stop();
}

void THidDevice::CloseHandles() {
    StopReader();
    readConnection_.reset();
    writeConnection_.reset();
}

void THidDevice::Unplug() {
    CloseHandles();
    pluggedIn_ = false;
}

void THidDevice::SetClaimed(bool claimed) {
    claimed_ = claimed;
    if (claimed_)
        StartReaderIfReady();
    else
        StopReader();
}

void THidDevice::DeliverReport(std::uint8_t reportId, const std::uint8_t* data, std::uint16_t size) {
    // A copy: the handler may replace or clear itself while it runs.
    const THidDataEvent handler = handler_;
    if (handler)
        handler(this, reportId, data, size);
}
