// SPDX-License-Identifier: MIT
#pragma once

#include <QPointer>
#include <QThread>
#include <cstddef>
#include <cstdint>
#include <memory>

class HidConnection;
class THidDevice;

// The background reader of one claimed device with a handler. It reads input reports in slices of
// the device's ReaderSleepTime and hands each one to the GUI thread, waiting until the handler has
// returned before it reads again, so handlers never overlap.
//
// Stopping never needs the GUI thread: the reader also wakes for the stop request while it waits
// for a hand-over, and a hand-over that reaches the GUI thread after stopping has begun skips the
// handler. Stop() can therefore block in a plain wait, even when it is called from inside a handler.
class THidDeviceReadThread : public QThread {
    Q_OBJECT
public:
    // context: a GUI-thread object that outlives the reader; hand-overs are queued to it.
    THidDeviceReadThread(THidDevice& device, HidConnection& connection, QObject& context);
    ~THidDeviceReadThread() override;

    // Asks the reader to end and waits until it has; takes at most one ReaderSleepTime slice.
    void Stop();

protected:
    void run() override;

private:
    struct Shared;

    bool HandOver(const std::uint8_t* report, std::size_t count);
    void PauseAfterError();
    bool StopRequested() const;

    THidDevice& device_;
    HidConnection& connection_;
    QObject& context_;
    QPointer<THidDevice> devicePointer_;
    std::shared_ptr<Shared> shared_;
};
