// SPDX-License-Identifier: MIT
// Whatever a device that claims to be the scale sends back: every command's reply judging, the
// count, and the decoding of a measurement from two halves.
// Input: byte 0 the slot (1 to 10), bytes 1-2 today as days after 2000-01-01 (0xFFFF: an invalid
// date), then the reply bytes (any length; 16 or more also make the two halves of a measurement).
#include "FuzzTarget.h"

#include "scale/ScaleProtocol.h"

#include <QDateTime>
#include <QTime>

namespace {

const QDate Epoch(2000, 1, 1);

// The years a decoded date can come from: the newest with the year nibble, not after tomorrow.
void CheckDecodedDate(std::uint8_t dayByte, std::uint8_t yearMonthByte, const QDate& today) {
    const std::optional<QDate> date = DecodeMeasurementDate(dayByte, yearMonthByte, today);
    if (!date)
        return;
    FUZZ_CHECK(today.isValid() && date->isValid());
    FUZZ_CHECK(date->day() == (dayByte & 0x1F));
    FUZZ_CHECK(date->month() == (yearMonthByte & 0x0F));
    FUZZ_CHECK((date->year() - 2000) % 16 == yearMonthByte >> 4);
    FUZZ_CHECK(*date <= today.addDays(1));
    // No later year with the same nibble would do: 16 years on is after tomorrow, unless that
    // year has no such day (29 February).
    const QDate later(date->year() + 16, date->month(), date->day());
    FUZZ_CHECK(!later.isValid() || later > today.addDays(1) || date->month() == 2);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3)
        return 0;
    const int slot = data[0] % 10 + 1;
    const int days = data[1] << 8 | data[2];
    const QDate today = days == 0xFFFF ? QDate() : Epoch.addDays(days);
    const std::uint8_t* reply = data + 3;
    const std::size_t replySize = size - 3;

    const ReplyVerdict counted = JudgeReadDataCountReply(reply, replySize, slot);
    const ReplyVerdict half = JudgeReadDataReply(reply, replySize);
    for (const ReplyVerdict verdict :
         {JudgeSetUserInfoReply(reply, replySize), JudgeSetDateTimeReply(reply, replySize),
          JudgeDeleteDataReply(reply, replySize, slot), counted, half}) {
        FUZZ_CHECK((verdict == ReplyVerdict::WrongLength) == (replySize != ScaleReplySize));
    }
    if (counted == ReplyVerdict::Accepted) {
        FUZZ_CHECK(half == ReplyVerdict::Accepted);
        const int count = ReadDataCountOf(reply);
        FUZZ_CHECK(count >= 0 && count <= 0xFFFF);
    }
    if (replySize == ScaleReplySize)
        FUZZ_CHECK((half == ReplyVerdict::Accepted) == ScaleReplyChecksumOk(reply, replySize));

    if (replySize >= 2 * ScaleReplySize) {
        const ScaleReply part1 = CopyScaleReply(reply);
        const ScaleReply part2 = CopyScaleReply(reply + ScaleReplySize);
        CheckDecodedDate(part2[0], part2[1], today);
        if (const std::optional<MeasurementRecord> record = DecodeMeasurement(part1, part2, today)) {
            FUZZ_CHECK(record->Date == DecodeMeasurementDate(part2[0], part2[1], today));
            for (const double value : {record->Weight, record->Fat, record->Tbw, record->Mus, record->Bone})
                FUZZ_CHECK(value >= 0 && value <= 6553.5);
        }
    }

    // The clock the program sets comes back as the same day when a measurement carries it.
    if (today.isValid()) {
        const ScaleRequest request = SetDateTimeRequest(QDateTime(today, QTime(12, 0)));
        FUZZ_CHECK(DecodeMeasurementDate(request[2], request[3], today) == today);
    }
    return 0;
}
