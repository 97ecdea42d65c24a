// SPDX-License-Identifier: MIT
#include "scale/THidDeviceReadThread.h"

#include "scale/HidConnection.h"
#include "scale/THidDevice.h"

#include <QMetaObject>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <vector>

// Shared with the hand-overs in flight, which may outlive the reader by a little.
struct THidDeviceReadThread::Shared {
    std::mutex mutex;
    std::condition_variable changed;
    bool stopRequested = false;
    std::uint64_t handedOver = 0; // sequence number of the last report queued to the GUI thread
    std::uint64_t finished = 0;   // sequence number of the last hand-over the GUI thread has done
};

THidDeviceReadThread::THidDeviceReadThread(THidDevice& device, HidConnection& connection, QObject& context)
    : device_(device), connection_(connection), context_(context), devicePointer_(&device),
      shared_(std::make_shared<Shared>()) {
    setObjectName(QStringLiteral("THidDeviceReadThread"));
}

THidDeviceReadThread::~THidDeviceReadThread() {
    Stop();
}

void THidDeviceReadThread::Stop() {
    {
        std::lock_guard<std::mutex> lock(shared_->mutex);
        shared_->stopRequested = true;
    }
    shared_->changed.notify_all();
    wait();
}

bool THidDeviceReadThread::StopRequested() const {
    std::lock_guard<std::mutex> lock(shared_->mutex);
    return shared_->stopRequested;
}

void THidDeviceReadThread::run() {
    std::vector<std::uint8_t> buffer(MaxInputReportSize);
    while (!StopRequested()) {
        const int count = connection_.Read(buffer.data(), buffer.size(), device_.ReaderSleepTime());
        if (count > 0) {
            if (!HandOver(buffer.data(), static_cast<std::size_t>(count)))
                break;
        } else if (count < 0) {
            // The device cannot be read (usually: it is gone and its removal is on the way).
            // Trying again at once would only spin.
            PauseAfterError();
        }
    }
}

void THidDeviceReadThread::PauseAfterError() {
    std::unique_lock<std::mutex> lock(shared_->mutex);
    shared_->changed.wait_for(lock, std::chrono::milliseconds(device_.ReaderSleepTime()),
                              [this] { return shared_->stopRequested; });
}

bool THidDeviceReadThread::HandOver(const std::uint8_t* report, std::size_t count) {
    std::uint64_t sequence = 0;
    {
        std::lock_guard<std::mutex> lock(shared_->mutex);
        if (shared_->stopRequested)
            return false;
        sequence = ++shared_->handedOver;
    }
    // The GUI side marks the hand-over finished even when the handler throws.
    struct Finisher {
        std::shared_ptr<Shared> shared;
        std::uint64_t sequence;
        ~Finisher() {
            {
                std::lock_guard<std::mutex> lock(shared->mutex);
                shared->finished = sequence;
            }
            shared->changed.notify_all();
        }
    };
    QMetaObject::invokeMethod(
        &context_,
        [shared = shared_, sequence, device = devicePointer_,
         bytes = std::vector<std::uint8_t>(report, report + count)]() {
            {
                std::lock_guard<std::mutex> lock(shared->mutex);
                if (shared->stopRequested)
                    return; // the reader is being stopped: nobody waits for this report any more
            }
            Finisher finisher{shared, sequence};
            if (device)
                device->DeliverReport(bytes[0], bytes.data() + 1,
                                      static_cast<std::uint16_t>(bytes.size() - 1));
        },
        Qt::QueuedConnection);

    std::unique_lock<std::mutex> lock(shared_->mutex);
    shared_->changed.wait(lock, [&] { return shared_->stopRequested || shared_->finished >= sequence; });
    return !shared_->stopRequested;
}
