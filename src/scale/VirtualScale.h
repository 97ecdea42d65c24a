// SPDX-License-Identifier: MIT
#pragma once

#include "scale/HidConnection.h"
#include "scale/MeasurementRecord.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

// What a virtual device says about itself. The defaults are the scale's.
struct VirtualDeviceIdentity {
    std::uint16_t VendorId = 0x0FFF;
    std::uint16_t ProductId = 0x0001;
    std::uint16_t Version = 0x0100;
    bool Openable = true; // false: every attempt to open the device fails
};

// A profile as the scale stored it from SetUserInfo.
struct VirtualScaleProfile {
    int Gender = 0;
    int HeightCm = 0;
    int HeightHalfInches = 0;
    int Age = 0;
};

// The scale's clock as SetDateTime last set it; the scale keeps only the year's low nibble.
struct VirtualScaleClock {
    int YearNibble = 0;
    int Month = 0;
    int Day = 0;
    int Hour = 0;
    int Minute = 0;
    int Second = 0;
};

// An in-process scale behind VirtualHidBackend, answering every request as the scale's firmware
// does: ten slots of stored measurements and profiles, a clock and deletion. Replies come after
// the reply delay, into the input queue of every open connection (as the platform queues them per
// handle), one at a time and in the order of the requests, and can be lost, damaged, lengthened,
// shortened, delayed further, sent twice, answered for another slot or the previous index, or never
// sent on request. A request that is not a well-formed frame gets no reply. Safe to drive from the
// test's thread while a reader thread reads.
class VirtualScale {
public:
    static constexpr int SlotCount = 10;

    ~VirtualScale();
    VirtualScale(const VirtualScale&) = delete;
    VirtualScale& operator=(const VirtualScale&) = delete;

    const VirtualDeviceIdentity& identity() const { return identity_; }
    bool isPluggedIn() const;
    QString path() const;       // changes with every plug-in
    QString instanceId() const; // changes with every plug-in

    // Stored data, slots 1 to 10 (others are ignored).
    void addMeasurement(int slot, const MeasurementRecord& record);
    std::vector<MeasurementRecord> measurements(int slot) const;
    std::optional<VirtualScaleProfile> profile(int slot) const;
    std::optional<VirtualScaleClock> clock() const;

    // Behaviour. Each "next" fault applies to that many of the following replies.
    void setReplyDelay(int milliseconds);
    void loseNextReplies(int count);
    void damageNextChecksums(int count = 1);
    void setNextReplyLength(int bytesAfterReportId, int count = 1); // 7 or 9 instead of 8
    void answerForSlotNext(int slot, int count = 1);                // act and answer as if asked for slot
    // The next replies come this much later than the reply delay; the replies to later requests
    // wait behind them, as the firmware answers one request after the other.
    void delayNextReplies(int milliseconds, int count = 1);
    void duplicateNextReplies(int count = 1); // each sent twice, one right after the other
    // The next ReadData requests are answered with the same half of the measurement before the one
    // asked for (none for the first).
    void answerForPreviousIndexNext(int count = 1);
    // Byte d0 of part 1 of every measurement: nothing reads it, and firmware may put anything there.
    void setPart1FirstByte(std::uint8_t value);
    void setStalled(bool stalled); // true: no replies at all
    void unplugOnNextRequest();    // takes the next request, then is unplugged before answering
    // Sends one input report now, unasked (report ID first), as a late reply would arrive.
    void sendInputReport(const std::vector<std::uint8_t>& report);
    // While on, every read finds an input report at once: a reader under constant load.
    void setFlooding(bool flooding);

    // Every output report written to the scale, oldest first, report ID included.
    std::vector<std::vector<std::uint8_t>> receivedRequests() const;
    void clearReceivedRequests();
    // Input reports the scale has sent (after faults, not counting lost ones and flooding).
    int repliesSent() const;

    struct Core; // the scale's state, shared with its open connections

private:
    friend class VirtualHidBackend;
    explicit VirtualScale(const VirtualDeviceIdentity& identity);

    void PlugIn(const QString& path, const QString& instanceId, std::function<void()> unplugRequest);
    void Unplug();
    std::unique_ptr<HidConnection> Open();

    const VirtualDeviceIdentity identity_;
    std::shared_ptr<Core> core_; // shared with the connections, which may outlive the scale
};
