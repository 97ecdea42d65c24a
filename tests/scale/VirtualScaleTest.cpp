// SPDX-License-Identifier: MIT
#include "scale/ScaleProtocol.h"
#include "scale/VirtualHidBackend.h"

#include "ScaleTestSupport.h"

#include <gtest/gtest.h>

#include <array>

namespace {

// The scale's side of the protocol, talked to through a raw connection of the virtual back end.
class VirtualScaleTest : public ::testing::Test {
protected:
    VirtualScaleTest() : scale(backend.plugIn()), connection(backend.Open(scale.path())) {}

    void Send(const ScaleRequest& request) {
        ASSERT_EQ(connection->Write(request.data(), request.size()), static_cast<int>(request.size()));
    }
    // The bytes after the report ID of the next input report; empty when none comes in time. A reply
    // is waited for generously (a loaded machine is slow); that none comes is checked briefly.
    Bytes Receive(int timeoutMs = 2000) {
        std::array<std::uint8_t, 64> buffer{};
        const int count = connection->Read(buffer.data(), buffer.size(), timeoutMs);
        if (count <= 0)
            return {};
        return Bytes(buffer.begin() + 1, buffer.begin() + count);
    }
    Bytes Ask(const ScaleRequest& request, int timeoutMs = 2000) {
        Send(request);
        return Receive(timeoutMs);
    }

    VirtualHidBackend backend;
    VirtualScale& scale;
    std::unique_ptr<HidConnection> connection;
};

// How long a reply that must not come is waited for.
constexpr int NoReplyMs = 200;

const MeasurementRecord March12{QDate(2026, 3, 12), 72.5, 23.4, 55.1, 38.2, 3.1};
const MeasurementRecord March13{QDate(2026, 3, 13), 72.1, 23.0, 55.3, 38.4, 3.0};

TEST_F(VirtualScaleTest, HandsOutItsMeasurementsAndDeletesThem) {
    scale.addMeasurement(1, March12);
    scale.addMeasurement(1, March13);

    const Bytes count = Ask(ReadDataCountRequest(1));
    ASSERT_EQ(JudgeReadDataCountReply(count.data(), count.size(), 1), ReplyVerdict::Accepted);
    EXPECT_EQ(ReadDataCountOf(count.data()), 2);

    for (int index = 1; index <= 2; ++index) {
        const Bytes part1 = Ask(ReadDataRequest(1, ReadDataPart::Part1, index));
        const Bytes part2 = Ask(ReadDataRequest(1, ReadDataPart::Part2, index));
        ASSERT_EQ(JudgeReadDataReply(part1.data(), part1.size()), ReplyVerdict::Accepted);
        ASSERT_EQ(JudgeReadDataReply(part2.data(), part2.size()), ReplyVerdict::Accepted);
        const auto record =
            DecodeMeasurement(CopyScaleReply(part1.data()), CopyScaleReply(part2.data()), QDate(2026, 4, 1));
        ASSERT_TRUE(record);
        EXPECT_EQ(*record, index == 1 ? March12 : March13);
    }
    EXPECT_TRUE(Ask(ReadDataRequest(1, ReadDataPart::Part1, 3), NoReplyMs).empty()) << "no third measurement";

    const Bytes deleted = Ask(DeleteDataRequest(1));
    EXPECT_EQ(JudgeDeleteDataReply(deleted.data(), deleted.size(), 1), ReplyVerdict::Accepted);
    EXPECT_TRUE(scale.measurements(1).empty());
    const Bytes none = Ask(ReadDataCountRequest(1));
    EXPECT_EQ(ReadDataCountOf(none.data()), 0);
}

TEST_F(VirtualScaleTest, KeepsProfileAndClock) {
    const Bytes profileReply = Ask(SetUserInfoRequest(3, 1, 170, 67.0, 30));
    EXPECT_EQ(JudgeSetUserInfoReply(profileReply.data(), profileReply.size()), ReplyVerdict::Accepted);
    ASSERT_TRUE(scale.profile(3));
    EXPECT_EQ(scale.profile(3)->Gender, 1);
    EXPECT_EQ(scale.profile(3)->HeightCm, 170);
    EXPECT_EQ(scale.profile(3)->HeightHalfInches, 134);
    EXPECT_EQ(scale.profile(3)->Age, 30);
    EXPECT_FALSE(scale.profile(1));

    const Bytes clockReply = Ask(SetDateTimeRequest(QDateTime(QDate(2026, 7, 4), QTime(10, 20, 30))));
    EXPECT_EQ(JudgeSetDateTimeReply(clockReply.data(), clockReply.size()), ReplyVerdict::Accepted);
    ASSERT_TRUE(scale.clock());
    EXPECT_EQ(scale.clock()->YearNibble, 10);
    EXPECT_EQ(scale.clock()->Month, 7);
    EXPECT_EQ(scale.clock()->Day, 4);
    EXPECT_EQ(scale.clock()->Second, 30);
}

TEST_F(VirtualScaleTest, IgnoresMalformedRequestsButRecordsThem) {
    ScaleRequest damaged = ReadDataCountRequest(1);
    damaged[8] ^= 0x01;
    EXPECT_TRUE(Ask(damaged, NoReplyMs).empty());
    const Bytes shortRequest{0x00, 0xFF, 0x03};
    ASSERT_EQ(connection->Write(shortRequest.data(), shortRequest.size()), 3);
    EXPECT_TRUE(Receive(50).empty());
    ASSERT_EQ(scale.receivedRequests().size(), 2u);
    EXPECT_EQ(scale.receivedRequests()[0], ToBytes(damaged));
}

TEST_F(VirtualScaleTest, FaultsOnRequest) {
    scale.addMeasurement(1, March12);
    const ScaleRequest ask = ReadDataCountRequest(1);
    const auto verdict = [&] {
        const Bytes reply = Ask(ask);
        return JudgeReadDataCountReply(reply.data(), reply.size(), 1);
    };

    scale.loseNextReplies(2);
    EXPECT_TRUE(Ask(ask, NoReplyMs).empty());
    EXPECT_TRUE(Ask(ask, NoReplyMs).empty());
    EXPECT_EQ(verdict(), ReplyVerdict::Accepted);

    scale.damageNextChecksums();
    EXPECT_EQ(verdict(), ReplyVerdict::Rejected);
    scale.setNextReplyLength(7);
    EXPECT_EQ(Ask(ask).size(), 7u);
    scale.setNextReplyLength(9, 2);
    EXPECT_EQ(Ask(ask).size(), 9u);
    EXPECT_EQ(verdict(), ReplyVerdict::WrongLength);
    scale.answerForSlotNext(2);
    EXPECT_EQ(verdict(), ReplyVerdict::Rejected);
    EXPECT_EQ(verdict(), ReplyVerdict::Accepted);

    scale.setStalled(true);
    EXPECT_TRUE(Ask(ask, NoReplyMs).empty());
    scale.setStalled(false);
    EXPECT_EQ(verdict(), ReplyVerdict::Accepted);
}

TEST_F(VirtualScaleTest, ReplyDelayAndPerHandleQueues) {
    const std::unique_ptr<HidConnection> second = backend.Open(scale.path());
    scale.setReplyDelay(80);
    Send(ReadDataCountRequest(1));
    EXPECT_TRUE(Receive(0).empty()) << "not before the delay";
    EXPECT_FALSE(Receive(1000).empty());
    std::array<std::uint8_t, 16> buffer{};
    EXPECT_EQ(second->Read(buffer.data(), buffer.size(), 0), 9) << "every open handle gets the report";
    EXPECT_EQ(second->Read(buffer.data(), buffer.size(), 0), 0);
}

TEST_F(VirtualScaleTest, LateDuplicatedAndPreviousIndexReplies) {
    scale.addMeasurement(1, March12);
    scale.addMeasurement(1, March13);
    const ScaleRequest first = ReadDataRequest(1, ReadDataPart::Part1, 1);
    const ScaleRequest second = ReadDataRequest(1, ReadDataPart::Part1, 2);
    const Bytes firstReply = Ask(first);
    const Bytes secondReply = Ask(second);
    ASSERT_NE(firstReply, secondReply);

    // A late reply holds back the replies to the requests after it.
    // Only the emptiness right after sending depends on time, with a wide margin: a loaded
    // machine may run the test late, never early.
    scale.delayNextReplies(300);
    Send(first);
    Send(second);
    EXPECT_TRUE(Receive(0).empty());
    EXPECT_EQ(Receive(2000), firstReply);
    EXPECT_EQ(Receive(0), secondReply);

    scale.duplicateNextReplies();
    Send(second);
    EXPECT_EQ(Receive(), secondReply);
    EXPECT_EQ(Receive(), secondReply);
    EXPECT_TRUE(Receive(50).empty());

    scale.answerForPreviousIndexNext();
    EXPECT_EQ(Ask(second), firstReply);
    EXPECT_EQ(Ask(second), secondReply);
    scale.answerForPreviousIndexNext();
    EXPECT_TRUE(Ask(first, NoReplyMs).empty()) << "nothing comes before the first";
}

TEST_F(VirtualScaleTest, UnpluggingClosesItsHandles) {
    scale.setReplyDelay(1000);
    Send(ReadDataCountRequest(1));
    backend.unplug(scale);
    std::array<std::uint8_t, 16> buffer{};
    EXPECT_EQ(connection->Read(buffer.data(), buffer.size(), 10), -1);
    EXPECT_EQ(connection->Write(buffer.data(), 9), -1);
    EXPECT_FALSE(backend.Open(scale.path()));
    EXPECT_TRUE(backend.Enumerate().empty());

    backend.replug(scale);
    ASSERT_EQ(backend.Enumerate().size(), 1u);
    EXPECT_EQ(backend.Enumerate()[0].InstanceId, scale.instanceId());
    EXPECT_TRUE(backend.Open(scale.path()));
}

} // namespace
