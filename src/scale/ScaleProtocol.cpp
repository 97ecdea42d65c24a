// SPDX-License-Identifier: MIT
#include "scale/ScaleProtocol.h"

#include <algorithm>

namespace {

std::uint8_t Byte(int value) {
    return static_cast<std::uint8_t>(value & 0xFF);
}

ScaleRequest SlotCommandRequest(ScaleCommand command, int slot) {
    return BuildScaleRequest({static_cast<std::uint8_t>(command), Byte(slot), 0x55, 0xAA, 0x55});
}

ReplyVerdict CompareReply(const std::uint8_t* data, std::size_t size, const ScaleReply& expected) {
    if (size != ScaleReplySize)
        return ReplyVerdict::WrongLength;
    return std::equal(expected.begin(), expected.end(), data) ? ReplyVerdict::Accepted
                                                              : ReplyVerdict::Rejected;
}

int BigEndian16(std::uint8_t high, std::uint8_t low) {
    return high * 256 + low;
}

} // namespace

ScaleRequest SetUserInfoRequest(int slot, int gender, int heightCm, double heightInches, int ageYears) {
    const int halfInches = static_cast<int>(heightInches * 2);
    return BuildScaleRequest({static_cast<std::uint8_t>(ScaleCommand::SetUserInfo), Byte(slot * 4 + gender),
                              Byte(heightCm), Byte(halfInches), Byte(ageYears)});
}

int ScaleAgeInYears(const QDate& birthday, const QDate& today) {
    return static_cast<int>(birthday.daysTo(today) / 365);
}

ScaleRequest SetDateTimeRequest(const QDateTime& localTime) {
    const QDate date = localTime.date();
    const QTime time = localTime.time();
    const int yearNibble = ((date.year() - 2000) % 16 + 16) % 16;
    return BuildScaleRequest({Byte(static_cast<int>(ScaleCommand::SetDateTime) | (date.day() & 0x1F)),
                              Byte(yearNibble << 4 | (date.month() & 0x0F)), Byte(time.hour()),
                              Byte(time.minute()), Byte(time.second())});
}

ScaleRequest ReadDataCountRequest(int slot) {
    return SlotCommandRequest(ScaleCommand::ReadDataCount, slot);
}

ScaleRequest ReadDataRequest(int slot, ReadDataPart part, int index) {
    return BuildScaleRequest({static_cast<std::uint8_t>(ScaleCommand::ReadData), Byte(slot),
                              static_cast<std::uint8_t>(part), Byte(index >> 8), Byte(index)});
}

ScaleRequest DeleteDataRequest(int slot) {
    return SlotCommandRequest(ScaleCommand::DeleteData, slot);
}

ScaleReply SetUserInfoAcknowledgement() {
    return BuildScaleReply({0xFF, 0x01, 0x55, 0xAA, 0x55, 0xAA});
}

ScaleReply SetDateTimeAcknowledgement() {
    return BuildScaleReply({0xFF, 0x02, 0x55, 0xAA, 0x55, 0xAA});
}

ScaleReply DeleteDataAcknowledgement(int slot) {
    return BuildScaleReply({0xFF, 0x05, Byte(slot), 0xAA, 0x55, 0xAA});
}

ReplyVerdict JudgeSetUserInfoReply(const std::uint8_t* data, std::size_t size) {
    return CompareReply(data, size, SetUserInfoAcknowledgement());
}

ReplyVerdict JudgeSetDateTimeReply(const std::uint8_t* data, std::size_t size) {
    return CompareReply(data, size, SetDateTimeAcknowledgement());
}

ReplyVerdict JudgeDeleteDataReply(const std::uint8_t* data, std::size_t size, int slot) {
    return CompareReply(data, size, DeleteDataAcknowledgement(slot));
}

ReplyVerdict JudgeReadDataCountReply(const std::uint8_t* data, std::size_t size, int slot) {
    if (size != ScaleReplySize)
        return ReplyVerdict::WrongLength;
    if (!ScaleReplyChecksumOk(data, size) || data[2] != Byte(slot))
        return ReplyVerdict::Rejected;
    return ReplyVerdict::Accepted;
}

ReplyVerdict JudgeReadDataReply(const std::uint8_t* data, std::size_t size) {
    if (size != ScaleReplySize)
        return ReplyVerdict::WrongLength;
    return ScaleReplyChecksumOk(data, size) ? ReplyVerdict::Accepted : ReplyVerdict::Rejected;
}

int ReadDataCountOf(const std::uint8_t* data) {
    return BigEndian16(data[3], data[4]);
}

std::optional<QDate> DecodeMeasurementDate(std::uint8_t dayByte, std::uint8_t yearMonthByte,
                                           const QDate& today) {
    const int day = dayByte & 0x1F;
    const int month = yearMonthByte & 0x0F;
    const int yearNibble = yearMonthByte >> 4;
    if (!today.isValid())
        return std::nullopt;
    const QDate latest = today.addDays(1);
    // Walk back through the years with this nibble, newest first; a 29 February can only be
    // found in a year that has one.
    for (int year = latest.year() - ((latest.year() - 2000 - yearNibble) % 16 + 16) % 16; year >= 2000;
         year -= 16) {
        const QDate date(year, month, day);
        if (date.isValid() && date <= latest)
            return date;
    }
    return std::nullopt;
}

std::optional<MeasurementRecord> DecodeMeasurement(const ScaleReply& part1, const ScaleReply& part2,
                                                   const QDate& today) {
    const std::optional<QDate> date = DecodeMeasurementDate(part2[0], part2[1], today);
    if (!date)
        return std::nullopt;
    MeasurementRecord record;
    record.Date = *date;
    record.Weight = BigEndian16(part1[2], part1[3]) / 10.0;
    record.Fat = BigEndian16(part1[4], part1[5]) / 10.0;
    record.Tbw = BigEndian16(part2[2], part2[3]) / 10.0;
    record.Mus = BigEndian16(part2[4], part2[5]) / 10.0;
    record.Bone = part1[1] / 10.0;
    return record;
}
