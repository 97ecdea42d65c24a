// SPDX-License-Identifier: MIT
#pragma once

#include "scale/MeasurementRecord.h"
#include "scale/ScaleFrame.h"

#include <QDate>
#include <QDateTime>
#include <cstddef>
#include <cstdint>
#include <optional>

// The scale's five commands: request frames, reply judging and the decoding of a measurement.
// A user slot is the logged-in user's USER_ID (1 to 10), sent as one byte.

// Command codes, payload byte 0. SetDateTime has no code of its own: it sends this mark OR the day.
enum class ScaleCommand : std::uint8_t {
    SetUserInfo = 0x01,
    SetDateTime = 0xE0,
    ReadDataCount = 0x03,
    ReadData = 0x04,
    DeleteData = 0x05,
};

// Each stored measurement is read in two halves with the same index.
enum class ReadDataPart : std::uint8_t { Part1 = 0x01, Part2 = 0x02 };

enum class ReplyVerdict {
    Accepted,
    Rejected,    // 8 bytes that the command does not accept
    WrongLength, // not 8 bytes after the report ID
};

// gender: 0 male, 1 female, 2 male athlete, 3 female athlete. heightInches is sent in half inches,
// truncated. ageYears as ScaleAgeInYears gives it.
ScaleRequest SetUserInfoRequest(int slot, int gender, int heightCm, double heightInches, int ageYears);
// Age as the scale counts it: whole 365-day years from birthday to today.
int ScaleAgeInYears(const QDate& birthday, const QDate& today);
// The scale keeps only (year - 2000) mod 16.
ScaleRequest SetDateTimeRequest(const QDateTime& localTime);
ScaleRequest ReadDataCountRequest(int slot);
// index counts from 1 up to the count; sent as 16 bits, high byte first.
ScaleRequest ReadDataRequest(int slot, ReadDataPart part, int index);
ScaleRequest DeleteDataRequest(int slot);

// The exact replies that acknowledge the three commands that change the scale.
ScaleReply SetUserInfoAcknowledgement();
ScaleReply SetDateTimeAcknowledgement();
ScaleReply DeleteDataAcknowledgement(int slot);

// data and size are what the input-report handler receives: the bytes after the report ID.
ReplyVerdict JudgeSetUserInfoReply(const std::uint8_t* data, std::size_t size);
ReplyVerdict JudgeSetDateTimeReply(const std::uint8_t* data, std::size_t size);
ReplyVerdict JudgeDeleteDataReply(const std::uint8_t* data, std::size_t size, int slot);
// Accepted: checksum right and d2 names the slot that was asked.
ReplyVerdict JudgeReadDataCountReply(const std::uint8_t* data, std::size_t size, int slot);
// Accepted: checksum right. A half carries no slot or part number.
ReplyVerdict JudgeReadDataReply(const std::uint8_t* data, std::size_t size);

// The count of an accepted ReadDataCount reply: d3 * 256 + d4.
int ReadDataCountOf(const std::uint8_t* data);

// The day of a measurement from part 2's d0 (day in the low five bits) and d1 (year nibble and
// month). The scale keeps only (year - 2000) mod 16, so the year is the latest one with that nibble
// whose date is no more than one day after today (one day of slack for a scale clock that runs a
// little ahead). None when the bytes name no calendar date.
std::optional<QDate> DecodeMeasurementDate(std::uint8_t dayByte, std::uint8_t yearMonthByte,
                                           const QDate& today);

// A measurement from its two accepted halves; none when its date is not a calendar date, so that
// the import can skip it.
std::optional<MeasurementRecord> DecodeMeasurement(const ScaleReply& part1, const ScaleReply& part2,
                                                   const QDate& today);
