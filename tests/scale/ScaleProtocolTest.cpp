// SPDX-License-Identifier: MIT
#include "scale/ScaleProtocol.h"

#include "ScaleTestSupport.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

struct RequestCase {
    const char* name;
    ScaleRequest request;
    const char* expected;
};

TEST(ScaleProtocolTest, RequestFrames) {
    const RequestCase cases[] = {
        {"ReadDataCount slot 1", ReadDataCountRequest(1), "00 FF 03 01 55 AA 55 D5 BD"},
        {"ReadData slot 1 index 1 part 1", ReadDataRequest(1, ReadDataPart::Part1, 1),
         "00 FF 04 01 01 00 01 D8 A3"},
        {"ReadData slot 1 index 1 part 2", ReadDataRequest(1, ReadDataPart::Part2, 1),
         "00 FF 04 01 02 00 01 81 F3"},
        {"ReadData index 256", ReadDataRequest(1, ReadDataPart::Part1, 256), "00 FF 04 01 01 01 00 FB B3"},
        {"DeleteData slot 1", DeleteDataRequest(1), "00 FF 05 01 55 AA 55 18 38"},
        {"SetDateTime 2009-03-12 14:05:09",
         SetDateTimeRequest(QDateTime(QDate(2009, 3, 12), QTime(14, 5, 9))), "00 FF EC 93 0E 05 09 98 B9"},
        {"SetDateTime in 2016 sends year nibble 0",
         SetDateTimeRequest(QDateTime(QDate(2016, 1, 1), QTime(0, 0))), "00 FF E1 01 00 00 00 E7 E9"},
        {"SetDateTime in 2026 sends year nibble 10",
         SetDateTimeRequest(QDateTime(QDate(2026, 7, 4), QTime(10, 20, 30))), "00 FF E4 A7 0A 14 1E F2 D8"},
        {"SetUserInfo slot 1 female 170 cm 67.0 in age 30", SetUserInfoRequest(1, 1, 170, 67.0, 30),
         "00 FF 01 05 AA 86 1E 2E 88"},
        {"SetUserInfo slot 10 female athlete 240 cm 94.5 in age 80", SetUserInfoRequest(10, 3, 240, 94.5, 80),
         "00 FF 01 2B F0 BD 50 52 F6"},
    };
    for (const RequestCase& c : cases)
        EXPECT_EQ(ToBytes(c.request), HexBytes(QString::fromLatin1(c.expected))) << c.name;
}

TEST(ScaleProtocolTest, AcknowledgementsCarryTheirChecksum) {
    EXPECT_EQ(ToBytes(SetUserInfoAcknowledgement()), HexBytes("FF 01 55 AA 55 AA A8 27"));
    EXPECT_EQ(ToBytes(SetDateTimeAcknowledgement()), HexBytes("FF 02 55 AA 55 AA 46 F5"));
    EXPECT_EQ(ToBytes(DeleteDataAcknowledgement(1)), HexBytes("FF 05 01 AA 55 AA 9E EB"));
}

TEST(ScaleProtocolTest, AgeCountsWhole365DayYears) {
    EXPECT_EQ(ScaleAgeInYears(QDate(1996, 1, 1), QDate(2026, 1, 1)), 30);
    // 14601 days: 40 years of 365 days, though the calendar birthday is nine days away.
    EXPECT_EQ(ScaleAgeInYears(QDate(1986, 3, 10), QDate(2026, 3, 1)), 40);
    EXPECT_EQ(ScaleAgeInYears(QDate(1986, 3, 12), QDate(2026, 3, 1)), 39);
}

using Judge = std::function<ReplyVerdict(const std::uint8_t*, std::size_t)>;

struct JudgeCase {
    const char* name;
    Judge judge;
    const char* reply;
    ReplyVerdict expected;
};

TEST(ScaleProtocolTest, JudgingReplies) {
    const Judge userInfo = JudgeSetUserInfoReply;
    const Judge dateTime = JudgeSetDateTimeReply;
    const Judge deleteSlot1 = [](const std::uint8_t* d, std::size_t n) {
        return JudgeDeleteDataReply(d, n, 1);
    };
    const Judge countSlot1 = [](const std::uint8_t* d, std::size_t n) {
        return JudgeReadDataCountReply(d, n, 1);
    };
    const Judge record = JudgeReadDataReply;
    using V = ReplyVerdict;
    const JudgeCase cases[] = {
        {"SetUserInfo acknowledged", userInfo, "FF 01 55 AA 55 AA A8 27", V::Accepted},
        {"SetUserInfo one content byte differs", userInfo, "FF 01 55 AA 55 AB A8 27", V::Rejected},
        {"SetUserInfo damaged checksum", userInfo, "FF 01 55 AA 55 AA A8 28", V::Rejected},
        {"SetUserInfo given the clock's acknowledgement", userInfo, "FF 02 55 AA 55 AA 46 F5", V::Rejected},
        {"SetUserInfo 7 bytes", userInfo, "FF 01 55 AA 55 AA A8", V::WrongLength},
        {"SetUserInfo 9 bytes", userInfo, "FF 01 55 AA 55 AA A8 27 00", V::WrongLength},
        {"SetUserInfo nothing", userInfo, "", V::WrongLength},
        {"SetDateTime acknowledged", dateTime, "FF 02 55 AA 55 AA 46 F5", V::Accepted},
        {"SetDateTime damaged checksum", dateTime, "FF 02 55 AA 55 AA 46 F4", V::Rejected},
        {"SetDateTime given the profile's acknowledgement", dateTime, "FF 01 55 AA 55 AA A8 27", V::Rejected},
        {"SetDateTime 7 bytes", dateTime, "FF 02 55 AA 55 AA 46", V::WrongLength},
        {"SetDateTime 9 bytes", dateTime, "FF 02 55 AA 55 AA 46 F5 00", V::WrongLength},
        {"DeleteData acknowledged", deleteSlot1, "FF 05 01 AA 55 AA 9E EB", V::Accepted},
        {"DeleteData acknowledged for slot 2", deleteSlot1, "FF 05 02 AA 55 AA 05 37", V::Rejected},
        {"DeleteData damaged checksum", deleteSlot1, "FF 05 01 AA 55 AA 9E EA", V::Rejected},
        {"DeleteData 7 bytes", deleteSlot1, "FF 05 01 AA 55 AA 9E", V::WrongLength},
        {"ReadDataCount for the slot", countSlot1, "FF 03 01 00 05 AA 27 8C", V::Accepted},
        {"ReadDataCount d0 d1 d5 not examined", countSlot1, "12 34 01 00 05 77 93 1D", V::Accepted},
        {"ReadDataCount for slot 2", countSlot1, "FF 03 02 00 05 AA BC 50", V::Rejected},
        {"ReadDataCount damaged checksum", countSlot1, "FF 03 01 00 05 AA 27 8D", V::Rejected},
        {"ReadDataCount 7 bytes", countSlot1, "FF 03 01 00 05 AA 27", V::WrongLength},
        {"ReadDataCount 9 bytes", countSlot1, "FF 03 01 00 05 AA 27 8C 00", V::WrongLength},
        {"ReadData checksum right", record, "FF 03 01 00 05 AA 27 8C", V::Accepted},
        {"ReadData damaged checksum", record, "FF 03 01 00 05 AA 27 8D", V::Rejected},
        {"ReadData 9 bytes", record, "FF 03 01 00 05 AA 27 8C 00", V::WrongLength},
    };
    for (const JudgeCase& c : cases) {
        const Bytes reply = HexBytes(QString::fromLatin1(c.reply));
        EXPECT_EQ(c.judge(reply.data(), reply.size()), c.expected) << c.name;
    }
}

TEST(ScaleProtocolTest, CountIsBigEndian) {
    EXPECT_EQ(ReadDataCountOf(HexBytes("FF 03 01 00 05 AA 27 8C").data()), 5);
    EXPECT_EQ(ReadDataCountOf(HexBytes("FF 03 01 01 00 AA 00 00").data()), 256);
    EXPECT_EQ(ReadDataCountOf(HexBytes("FF 03 01 FF FF AA 00 00").data()), 65535);
}

ScaleReply Reply(std::initializer_list<std::uint8_t> content) {
    ScaleReplyContent bytes{};
    std::copy(content.begin(), content.end(), bytes.begin());
    return BuildScaleReply(bytes);
}

TEST(ScaleProtocolTest, DecodesAMeasurementFromItsTwoHalves) {
    // bone 3.1, weight 72.5, fat 23.4 | day 12, 2009-03, TBW 55.1, MUS 38.2
    const ScaleReply part1 = Reply({0x00, 0x1F, 0x02, 0xD5, 0x00, 0xEA});
    const ScaleReply part2 = Reply({0xEC, 0x93, 0x02, 0x27, 0x01, 0x7E});
    const std::optional<MeasurementRecord> record = DecodeMeasurement(part1, part2, QDate(2009, 6, 1));
    ASSERT_TRUE(record);
    EXPECT_EQ(record->Date, QDate(2009, 3, 12));
    EXPECT_DOUBLE_EQ(record->Weight, 72.5);
    EXPECT_DOUBLE_EQ(record->Fat, 23.4);
    EXPECT_DOUBLE_EQ(record->Tbw, 55.1);
    EXPECT_DOUBLE_EQ(record->Mus, 38.2);
    EXPECT_DOUBLE_EQ(record->Bone, 3.1);

    // d0 of part 1 and the top three bits of part 2's d0 are not examined.
    EXPECT_EQ(DecodeMeasurement(Reply({0xAB, 0x1F, 0x02, 0xD5, 0x00, 0xEA}),
                                Reply({0x0C, 0x93, 0x02, 0x27, 0x01, 0x7E}), QDate(2009, 6, 1)),
              record);
}

TEST(ScaleProtocolTest, DecodesTheLargestValues) {
    const std::optional<MeasurementRecord> record =
        DecodeMeasurement(Reply({0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}),
                          Reply({0x01, 0x01, 0xFF, 0xFF, 0xFF, 0xFF}), QDate(2026, 3, 1));
    ASSERT_TRUE(record);
    EXPECT_DOUBLE_EQ(record->Weight, 6553.5);
    EXPECT_DOUBLE_EQ(record->Fat, 6553.5);
    EXPECT_DOUBLE_EQ(record->Tbw, 6553.5);
    EXPECT_DOUBLE_EQ(record->Mus, 6553.5);
    EXPECT_DOUBLE_EQ(record->Bone, 25.5);
}

struct DateCase {
    const char* name;
    QDate today;
    std::uint8_t dayByte;
    std::uint8_t yearMonthByte;
    QDate expected; // invalid: the bytes name no date
};

TEST(ScaleProtocolTest, MeasurementDateTakesTheLatestYearNotAfterTomorrow) {
    const QDate march2026(2026, 3, 1);
    const DateCase cases[] = {
        {"nibble 10 in 2026 is 2026", march2026, 0x1C, 0xA2, QDate(2026, 2, 28)},
        {"nibble 11 in 2026 is 2011", march2026, 0x01, 0xB5, QDate(2011, 5, 1)},
        {"nibble 0 in 2026 is 2016", march2026, 0x0C, 0x03, QDate(2016, 3, 12)},
        {"nibble 9 in 2009 is 2009", QDate(2009, 6, 1), 0x0C, 0x93, QDate(2009, 3, 12)},
        {"today", march2026, 0x01, 0xA3, QDate(2026, 3, 1)},
        {"one day ahead is still this year", march2026, 0x02, 0xA3, QDate(2026, 3, 2)},
        {"two days ahead is sixteen years back", march2026, 0x03, 0xA3, QDate(2010, 3, 3)},
        {"tomorrow across the year end", QDate(2015, 12, 31), 0x01, 0x01, QDate(2016, 1, 1)},
        {"29 February of a leap year", march2026, 0x1D, 0x42, QDate(2020, 2, 29)},
        {"no year with this nibble has a 29 February", march2026, 0x1D, 0x52, QDate()},
        {"no year with this nibble yet", QDate(2003, 1, 1), 0x01, 0xA1, QDate()},
        {"month 0", march2026, 0x01, 0xA0, QDate()},
        {"month 13", march2026, 0x01, 0xAD, QDate()},
        {"day 0", march2026, 0xE0, 0xA1, QDate()},
        {"31 April", march2026, 0x1F, 0xA4, QDate()},
        {"30 February", march2026, 0x1E, 0xA2, QDate()},
    };
    for (const DateCase& c : cases) {
        const std::optional<QDate> date = DecodeMeasurementDate(c.dayByte, c.yearMonthByte, c.today);
        if (c.expected.isValid()) {
            ASSERT_TRUE(date) << c.name;
            EXPECT_EQ(*date, c.expected) << c.name;
        } else {
            EXPECT_FALSE(date) << c.name;
        }
    }
}

TEST(ScaleProtocolTest, MeasurementWithoutACalendarDateIsRecognisable) {
    const ScaleReply part1 = Reply({0x00, 0x1F, 0x02, 0xD5, 0x00, 0xEA});
    EXPECT_FALSE(DecodeMeasurement(part1, Reply({0xE0, 0x93, 0x02, 0x27, 0x01, 0x7E}), QDate(2026, 3, 1)));
    EXPECT_FALSE(DecodeMeasurement(part1, Reply({0xEC, 0x9F, 0x02, 0x27, 0x01, 0x7E}), QDate(2026, 3, 1)));
}

} // namespace
