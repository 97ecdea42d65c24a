// SPDX-License-Identifier: MIT
#include "scale/VirtualScale.h"

#include "scale/ScaleFrame.h"
#include "scale/ScaleProtocol.h"

#include <QtGlobal>
#include <algorithm>
#include <array>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>

namespace {

using Clock = std::chrono::steady_clock;
using Report = std::vector<std::uint8_t>;

// The platform keeps this many unread input reports per handle and drops newer ones.
constexpr std::size_t InputQueueCapacity = 64;

class Connection;

struct ScheduledReport {
    Clock::time_point due;
    Report report;
};

std::uint8_t Byte(int value) {
    return static_cast<std::uint8_t>(value & 0xFF);
}

int Tenths(double value, int maximum) {
    return std::clamp(static_cast<int>(qRound(value * 10)), 0, maximum);
}

} // namespace

struct VirtualScale::Core {
    mutable std::mutex mutex;
    std::condition_variable changed;

    bool pluggedIn = false;
    QString path;
    QString instanceId;
    std::function<void()> unplugRequest;
    std::vector<Connection*> connections;
    std::deque<ScheduledReport> outbox; // ordered by due time

    std::array<std::vector<MeasurementRecord>, SlotCount> measurements;
    std::array<std::optional<VirtualScaleProfile>, SlotCount> profiles;
    std::optional<VirtualScaleClock> clock;

    int replyDelayMs = 0;
    int lose = 0;
    int damage = 0;
    int wrongLengthCount = 0;
    int wrongLength = ScaleReplySize;
    int otherSlotCount = 0;
    int otherSlot = 0;
    int extraDelayCount = 0;
    int extraDelayMs = 0;
    int duplicate = 0;
    int previousIndex = 0;
    std::uint8_t part1FirstByte = 0x00;
    Clock::time_point lastReplyDue; // no reply overtakes an earlier one
    bool stalled = false;
    bool unplugOnNextRequest = false;
    bool flooding = false;

    std::vector<Report> received;
    int repliesSent = 0;

    int Write(Connection& connection, const std::uint8_t* report, std::size_t size);
    int Read(Connection& connection, std::uint8_t* buffer, std::size_t size, int timeoutMs);
    void Detach(Connection* connection);
    void CloseConnectionsLocked();
    void PumpLocked(Clock::time_point now);
    void ScheduleLocked(Report report, Clock::time_point due);
    std::optional<ScaleReplyContent> AnswerLocked(const std::uint8_t* request, std::size_t size);
    int SlotLocked(int slot);
    void SendReplyLocked(const ScaleReplyContent& content);
};

namespace {

class Connection : public HidConnection {
public:
    explicit Connection(std::shared_ptr<VirtualScale::Core> core) : core_(std::move(core)) {}
    ~Connection() override { core_->Detach(this); }

    int Write(const std::uint8_t* report, std::size_t size) override {
        return core_->Write(*this, report, size);
    }
    int Read(std::uint8_t* buffer, std::size_t size, int timeoutMs) override {
        return core_->Read(*this, buffer, size, timeoutMs);
    }

    // Guarded by the core's mutex.
    bool closed = false;
    std::deque<Report> queue;

private:
    std::shared_ptr<VirtualScale::Core> core_;
};

int CopyReport(const Report& report, std::uint8_t* buffer, std::size_t size) {
    const std::size_t count = std::min(size, report.size());
    std::copy(report.begin(), report.begin() + static_cast<std::ptrdiff_t>(count), buffer);
    return static_cast<int>(count);
}

Report FloodReport() {
    const ScaleReply reply = BuildScaleReply({0xFF, 0x03, 0x01, 0x00, 0x00, 0xAA});
    Report report{0x00};
    report.insert(report.end(), reply.begin(), reply.end());
    return report;
}

} // namespace

int VirtualScale::Core::Write(Connection& connection, const std::uint8_t* report, std::size_t size) {
    std::function<void()> unplugNow;
    {
        std::lock_guard<std::mutex> lock(mutex);
        if (connection.closed || !pluggedIn)
            return -1;
        received.emplace_back(report, report + size);
        if (unplugOnNextRequest) {
            unplugOnNextRequest = false;
            unplugNow = unplugRequest;
        } else if (const std::optional<ScaleReplyContent> content = AnswerLocked(report, size)) {
            SendReplyLocked(*content);
        }
    }
    changed.notify_all();
    if (unplugNow)
        unplugNow();
    return static_cast<int>(size);
}

int VirtualScale::Core::Read(Connection& connection, std::uint8_t* buffer, std::size_t size, int timeoutMs) {
    std::unique_lock<std::mutex> lock(mutex);
    Clock::time_point now = Clock::now();
    const Clock::time_point deadline = now + std::chrono::milliseconds(std::max(timeoutMs, 0));
    for (;;) {
        if (connection.closed)
            return -1;
        PumpLocked(now);
        if (!connection.queue.empty()) {
            const Report report = std::move(connection.queue.front());
            connection.queue.pop_front();
            return CopyReport(report, buffer, size);
        }
        if (flooding)
            return CopyReport(FloodReport(), buffer, size);
        if (now >= deadline)
            return 0;
        Clock::time_point wake = deadline;
        if (!outbox.empty())
            wake = std::min(wake, outbox.front().due);
        changed.wait_until(lock, wake);
        now = Clock::now();
    }
}

void VirtualScale::Core::Detach(Connection* connection) {
    std::lock_guard<std::mutex> lock(mutex);
    connections.erase(std::remove(connections.begin(), connections.end(), connection), connections.end());
}

void VirtualScale::Core::CloseConnectionsLocked() {
    for (Connection* connection : connections) {
        connection->closed = true;
        connection->queue.clear();
    }
    connections.clear();
    outbox.clear();
    lastReplyDue = Clock::time_point();
}

void VirtualScale::Core::PumpLocked(Clock::time_point now) {
    while (!outbox.empty() && outbox.front().due <= now) {
        for (Connection* connection : connections) {
            if (connection->queue.size() < InputQueueCapacity)
                connection->queue.push_back(outbox.front().report);
        }
        outbox.pop_front();
    }
}

void VirtualScale::Core::ScheduleLocked(Report report, Clock::time_point due) {
    ScheduledReport scheduled{due, std::move(report)};
    const auto position =
        std::upper_bound(outbox.begin(), outbox.end(), scheduled.due,
                         [](Clock::time_point due, const ScheduledReport& entry) { return due < entry.due; });
    outbox.insert(position, std::move(scheduled));
}

int VirtualScale::Core::SlotLocked(int slot) {
    if (otherSlotCount > 0) {
        --otherSlotCount;
        return otherSlot;
    }
    return slot;
}

std::optional<ScaleReplyContent> VirtualScale::Core::AnswerLocked(const std::uint8_t* request,
                                                                  std::size_t size) {
    if (stalled)
        return std::nullopt;
    if (size != ScaleRequestSize || request[0] != 0x00 || request[1] != 0xFF)
        return std::nullopt;
    ScalePayload payload;
    std::copy(request + 2, request + 7, payload.begin());
    const ScaleRequest expected = BuildScaleRequest(payload);
    if (!std::equal(expected.begin(), expected.end(), request))
        return std::nullopt; // damaged request

    const auto inSlotRange = [](int slot) { return slot >= 1 && slot <= SlotCount; };
    const std::uint8_t code = payload[0];
    if ((code & 0xE0) == 0xE0) {
        clock = VirtualScaleClock{payload[1] >> 4, payload[1] & 0x0F, code & 0x1F,
                                  payload[2],      payload[3],        payload[4]};
        return ScaleReplyContent{0xFF, 0x02, 0x55, 0xAA, 0x55, 0xAA};
    }
    switch (code) {
    case static_cast<std::uint8_t>(ScaleCommand::SetUserInfo): {
        const int slot = payload[1] >> 2;
        if (inSlotRange(slot))
            profiles[slot - 1] = VirtualScaleProfile{payload[1] & 0x03, payload[2], payload[3], payload[4]};
        return ScaleReplyContent{0xFF, 0x01, 0x55, 0xAA, 0x55, 0xAA};
    }
    case static_cast<std::uint8_t>(ScaleCommand::ReadDataCount): {
        const int slot = SlotLocked(payload[1]);
        const int count = inSlotRange(slot) ? static_cast<int>(measurements[slot - 1].size()) : 0;
        return ScaleReplyContent{0xFF, 0x03, Byte(slot), Byte(count >> 8), Byte(count), 0xAA};
    }
    case static_cast<std::uint8_t>(ScaleCommand::ReadData): {
        const int slot = SlotLocked(payload[1]);
        int index = payload[3] * 256 + payload[4];
        if (previousIndex > 0) {
            --previousIndex;
            --index;
        }
        if (!inSlotRange(slot) || index < 1 || index > static_cast<int>(measurements[slot - 1].size()))
            return std::nullopt;
        const MeasurementRecord& record = measurements[slot - 1][index - 1];
        const int weight = Tenths(record.Weight, 0xFFFF);
        const int fat = Tenths(record.Fat, 0xFFFF);
        const int tbw = Tenths(record.Tbw, 0xFFFF);
        const int mus = Tenths(record.Mus, 0xFFFF);
        if (payload[2] == static_cast<std::uint8_t>(ReadDataPart::Part1))
            return ScaleReplyContent{part1FirstByte,    Byte(Tenths(record.Bone, 0xFF)),
                                     Byte(weight >> 8), Byte(weight),
                                     Byte(fat >> 8),    Byte(fat)};
        if (payload[2] == static_cast<std::uint8_t>(ReadDataPart::Part2)) {
            const int yearNibble = ((record.Date.year() - 2000) % 16 + 16) % 16;
            return ScaleReplyContent{Byte(0xE0 | record.Date.day()),
                                     Byte(yearNibble << 4 | record.Date.month()),
                                     Byte(tbw >> 8),
                                     Byte(tbw),
                                     Byte(mus >> 8),
                                     Byte(mus)};
        }
        return std::nullopt;
    }
    case static_cast<std::uint8_t>(ScaleCommand::DeleteData): {
        const int slot = SlotLocked(payload[1]);
        if (inSlotRange(slot))
            measurements[slot - 1].clear();
        return ScaleReplyContent{0xFF, 0x05, Byte(slot), 0xAA, 0x55, 0xAA};
    }
    default:
        return std::nullopt;
    }
}

void VirtualScale::Core::SendReplyLocked(const ScaleReplyContent& content) {
    if (lose > 0) {
        --lose;
        return;
    }
    const ScaleReply reply = BuildScaleReply(content);
    Report report{0x00};
    report.insert(report.end(), reply.begin(), reply.end());
    if (damage > 0) {
        --damage;
        report.back() ^= 0x5A;
    }
    if (wrongLengthCount > 0) {
        --wrongLengthCount;
        report.resize(1 + static_cast<std::size_t>(std::max(wrongLength, 0)), 0x00);
    }
    int delayMs = replyDelayMs;
    if (extraDelayCount > 0) {
        --extraDelayCount;
        delayMs += extraDelayMs;
    }
    const Clock::time_point due = std::max(Clock::now() + std::chrono::milliseconds(delayMs), lastReplyDue);
    lastReplyDue = due;
    const int copies = duplicate > 0 ? 2 : 1;
    if (duplicate > 0)
        --duplicate;
    for (int copy = 0; copy < copies; ++copy) {
        ++repliesSent;
        ScheduleLocked(report, due);
    }
}

VirtualScale::VirtualScale(const VirtualDeviceIdentity& identity)
    : identity_(identity), core_(std::make_shared<Core>()) {}

VirtualScale::~VirtualScale() {
    std::lock_guard<std::mutex> lock(core_->mutex);
    core_->unplugRequest = nullptr;
    core_->pluggedIn = false;
    core_->CloseConnectionsLocked();
    core_->changed.notify_all();
}

bool VirtualScale::isPluggedIn() const {
    std::lock_guard<std::mutex> lock(core_->mutex);
    return core_->pluggedIn;
}

QString VirtualScale::path() const {
    std::lock_guard<std::mutex> lock(core_->mutex);
    return core_->path;
}

QString VirtualScale::instanceId() const {
    std::lock_guard<std::mutex> lock(core_->mutex);
    return core_->instanceId;
}

void VirtualScale::addMeasurement(int slot, const MeasurementRecord& record) {
    std::lock_guard<std::mutex> lock(core_->mutex);
    if (slot >= 1 && slot <= SlotCount)
        core_->measurements[slot - 1].push_back(record);
}

std::vector<MeasurementRecord> VirtualScale::measurements(int slot) const {
    std::lock_guard<std::mutex> lock(core_->mutex);
    if (slot < 1 || slot > SlotCount)
        return {};
    return core_->measurements[slot - 1];
}

std::optional<VirtualScaleProfile> VirtualScale::profile(int slot) const {
    std::lock_guard<std::mutex> lock(core_->mutex);
    if (slot < 1 || slot > SlotCount)
        return std::nullopt;
    return core_->profiles[slot - 1];
}

std::optional<VirtualScaleClock> VirtualScale::clock() const {
    std::lock_guard<std::mutex> lock(core_->mutex);
    return core_->clock;
}

void VirtualScale::setReplyDelay(int milliseconds) {
    std::lock_guard<std::mutex> lock(core_->mutex);
    core_->replyDelayMs = std::max(milliseconds, 0);
}

void VirtualScale::loseNextReplies(int count) {
    std::lock_guard<std::mutex> lock(core_->mutex);
    core_->lose = count;
}

void VirtualScale::damageNextChecksums(int count) {
    std::lock_guard<std::mutex> lock(core_->mutex);
    core_->damage = count;
}

void VirtualScale::setNextReplyLength(int bytesAfterReportId, int count) {
    std::lock_guard<std::mutex> lock(core_->mutex);
    core_->wrongLength = bytesAfterReportId;
    core_->wrongLengthCount = count;
}

void VirtualScale::answerForSlotNext(int slot, int count) {
    std::lock_guard<std::mutex> lock(core_->mutex);
    core_->otherSlot = slot;
    core_->otherSlotCount = count;
}

void VirtualScale::delayNextReplies(int milliseconds, int count) {
    std::lock_guard<std::mutex> lock(core_->mutex);
    core_->extraDelayMs = std::max(milliseconds, 0);
    core_->extraDelayCount = count;
}

void VirtualScale::duplicateNextReplies(int count) {
    std::lock_guard<std::mutex> lock(core_->mutex);
    core_->duplicate = count;
}

void VirtualScale::answerForPreviousIndexNext(int count) {
    std::lock_guard<std::mutex> lock(core_->mutex);
    core_->previousIndex = count;
}

void VirtualScale::setPart1FirstByte(std::uint8_t value) {
    std::lock_guard<std::mutex> lock(core_->mutex);
    core_->part1FirstByte = value;
}

void VirtualScale::setStalled(bool stalled) {
    std::lock_guard<std::mutex> lock(core_->mutex);
    core_->stalled = stalled;
}

void VirtualScale::unplugOnNextRequest() {
    std::lock_guard<std::mutex> lock(core_->mutex);
    core_->unplugOnNextRequest = true;
}

void VirtualScale::sendInputReport(const std::vector<std::uint8_t>& report) {
    {
        std::lock_guard<std::mutex> lock(core_->mutex);
        if (!core_->pluggedIn)
            return;
        core_->ScheduleLocked(report, Clock::now());
    }
    core_->changed.notify_all();
}

void VirtualScale::setFlooding(bool flooding) {
    {
        std::lock_guard<std::mutex> lock(core_->mutex);
        core_->flooding = flooding;
    }
    core_->changed.notify_all();
}

std::vector<std::vector<std::uint8_t>> VirtualScale::receivedRequests() const {
    std::lock_guard<std::mutex> lock(core_->mutex);
    return core_->received;
}

void VirtualScale::clearReceivedRequests() {
    std::lock_guard<std::mutex> lock(core_->mutex);
    core_->received.clear();
}

int VirtualScale::repliesSent() const {
    std::lock_guard<std::mutex> lock(core_->mutex);
    return core_->repliesSent;
}

void VirtualScale::PlugIn(const QString& path, const QString& instanceId,
                          std::function<void()> unplugRequest) {
    std::lock_guard<std::mutex> lock(core_->mutex);
    core_->pluggedIn = true;
    core_->path = path;
    core_->instanceId = instanceId;
    core_->unplugRequest = std::move(unplugRequest);
}

void VirtualScale::Unplug() {
    {
        std::lock_guard<std::mutex> lock(core_->mutex);
        core_->pluggedIn = false;
        core_->CloseConnectionsLocked();
    }
    core_->changed.notify_all();
}

std::unique_ptr<HidConnection> VirtualScale::Open() {
    std::lock_guard<std::mutex> lock(core_->mutex);
    if (!core_->pluggedIn || !identity_.Openable)
        return nullptr;
    auto connection = std::make_unique<Connection>(core_);
    core_->connections.push_back(connection.get());
    return connection;
}
