// SPDX-License-Identifier: MIT
#include "DataImportFixture.h"

#include <QtGlobal>
#include <algorithm>
#include <functional>

namespace {

// Four measurements on four days, no two halves alike.
const std::vector<MeasurementRecord> OnTheScale = {
    Measurement(QDate(2024, 3, 1), 72.5, 23.4, 55.1, 38.2, 3.1),
    Measurement(QDate(2024, 3, 2), 72.1, 22.9, 55.6, 38.4, 3.0),
    Measurement(QDate(2024, 3, 3), 71.8, 23.1, 55.3, 38.3, 3.2),
    Measurement(QDate(2024, 3, 4), 71.6, 22.7, 55.8, 38.6, 2.9),
};

bool SameMeasurement(const MeasurementRecord& a, const MeasurementRecord& b) {
    const auto tenths = [](double value) { return qRound(value * 10); };
    return a.Date == b.Date && tenths(a.Weight) == tenths(b.Weight) && tenths(a.Fat) == tenths(b.Fat) &&
           tenths(a.Tbw) == tenths(b.Tbw) && tenths(a.Mus) == tenths(b.Mus) &&
           tenths(a.Bone) == tenths(b.Bone);
}

std::vector<MeasurementRecord> StoredMeasurements() {
    std::vector<MeasurementRecord> stored;
    for (const TDataRow& row :
         dmMain().SelectRows(QStringLiteral("select THE_DATE, WEIGHT, FAT, TBW, MUS, BONE from P_DATA")))
        stored.push_back({row.AsDate(QStringLiteral("THE_DATE")), row.AsFloat(QStringLiteral("WEIGHT")),
                          row.AsFloat(QStringLiteral("FAT")), row.AsFloat(QStringLiteral("TBW")),
                          row.AsFloat(QStringLiteral("MUS")), row.AsFloat(QStringLiteral("BONE"))});
    return stored;
}

bool Contains(const std::vector<MeasurementRecord>& records, const MeasurementRecord& record) {
    return std::any_of(records.begin(), records.end(),
                       [&](const MeasurementRecord& other) { return SameMeasurement(record, other); });
}

// Each measurement that was on the scale is in P_DATA as it was measured or still on the scale,
// and P_DATA holds nothing else.
void ExpectEachStoredExactlyOrKept(const std::vector<MeasurementRecord>& measured,
                                   const VirtualScale& scale) {
    const std::vector<MeasurementRecord> stored = StoredMeasurements();
    const std::vector<MeasurementRecord> kept = scale.measurements(1);
    for (const MeasurementRecord& measurement : measured)
        EXPECT_TRUE(Contains(stored, measurement) || Contains(kept, measurement))
            << "lost: " << testing::PrintToString(measurement);
    for (const MeasurementRecord& row : stored)
        EXPECT_TRUE(Contains(measured, row)) << "never measured: " << testing::PrintToString(row);
}

class ImportReplyFaultsTest : public DataImportTest {};

// Replies carry neither index nor half, so a reply that comes late, twice, or for another index
// must never be taken for the answer to a later request. Whatever goes wrong with the second
// measurement, each measurement ends up stored exactly or still on the scale, and nothing else is
// stored.
TEST_F(ImportReplyFaultsTest, NoReplyFaultStoresAWrongMeasurementOrDeletesAnUnsavedOne) {
    const ScaleRequest middlePart1 = ReadDataRequest(1, ReadDataPart::Part1, 2);
    const ScaleRequest middlePart2 = ReadDataRequest(1, ReadDataPart::Part2, 2);
    struct Scenario {
        const char* name;
        const ScaleRequest* request;              // the fault meets the reply to this request
        std::function<void(VirtualScale&)> fault; // made just before the scale hears it
        bool recoverable;                         // all four are then stored and deleted on the scale
    };
    const auto late = [](int milliseconds) {
        return [milliseconds](VirtualScale& scale) { scale.delayNextReplies(milliseconds); };
    };
    const Scenario scenarios[] = {
        {"part 1 late by 450 ms", &middlePart1, late(450), true},
        {"part 1 late by 560 ms", &middlePart1, late(560), true},
        {"part 1 late by 1200 ms", &middlePart1, late(1200), true},
        {"part 2 late by 450 ms", &middlePart2, late(450), true},
        {"part 2 late by 560 ms", &middlePart2, late(560), true},
        {"part 2 late by 1200 ms", &middlePart2, late(1200), true},
        {"part 1 answered twice", &middlePart1, [](VirtualScale& scale) { scale.duplicateNextReplies(); },
         true},
        {"part 2 answered twice", &middlePart2, [](VirtualScale& scale) { scale.duplicateNextReplies(); },
         true},
        {"part 1 answered for the previous index", &middlePart1,
         [](VirtualScale& scale) { scale.answerForPreviousIndexNext(); }, true},
        {"part 2 answered for the previous index", &middlePart2,
         [](VirtualScale& scale) { scale.answerForPreviousIndexNext(); }, true},
        {"unplugged between the halves", &middlePart2,
         [](VirtualScale& scale) { scale.unplugOnNextRequest(); }, false},
    };
    for (const Scenario& scenario : scenarios) {
        SCOPED_TRACE(scenario.name);
        store->ExecuteSql(QStringLiteral("delete from P_DATA"));
        boxes.clear();
        VirtualScale& scale = ScaleWith(OnTheScale);
        std::unique_ptr<TfrmDataImport> dialog = OpenAndCount(4);
        Filter().BeforeNext(*scenario.request, [&] { scenario.fault(scale); });

        Button(*dialog, "btnImport")->click();
        ASSERT_TRUE(WaitUntil(
            [&] {
                return Button(*dialog, "btnImport")->isEnabled() &&
                       (BoxShown("Complete") || BoxShown("ReadDataTimeout") || BoxShown("ScaleDisconnect"));
            },
            8000))
            << boxes.texts().join("; ").toStdString();
        RunEventsFor(700);                   // late replies still on their way must find nothing to spoil
        Button(*dialog, "btnSave")->click(); // OK to deleting on the scale, when asked
        if (BoxShown("SaveSucessAndDelete")) {
            EXPECT_TRUE(WaitForBox("DataDeleted"));
        }

        ExpectEachStoredExactlyOrKept(OnTheScale, scale);
        if (scenario.recoverable) {
            EXPECT_EQ(StoredMeasurements().size(), OnTheScale.size());
            EXPECT_TRUE(scale.measurements(1).empty());
        }

        dialog.reset();
        if (scale.isPluggedIn()) {
            Unplug(scale);
        } else {
            EXPECT_TRUE(WaitUntil([] { return Globals.AttachedScale == nullptr; }));
        }
    }
}

TEST_F(ImportReplyFaultsTest, AnImportAfterATimedOutOneTakesNoLateReplyForItsOwn) {
    // Part 1's unread first byte and a bone of 2.8 kg make part 1 look like a part 2 of 2017-12-12.
    const std::vector<MeasurementRecord> measured = {
        Measurement(QDate(2024, 3, 1), 72.5, 23.4, 55.1, 38.2, 2.8),
        Measurement(QDate(2024, 3, 2), 72.1, 22.9, 55.6, 38.4, 2.8),
        Measurement(QDate(2024, 3, 3), 71.8, 23.1, 55.3, 38.3, 2.8),
    };
    VirtualScale& scale = ScaleWith(measured);
    scale.setPart1FirstByte(0x0C);
    std::unique_ptr<TfrmDataImport> dialog = OpenAndCount(3);
    // Every answer from the second part 2 on comes after the import has given up.
    Filter().BeforeNext(ReadDataRequest(1, ReadDataPart::Part2, 2),
                        [&] { scale.delayNextReplies(3000, TfrmDataImport::RecordAttempts); });
    Import(*dialog, "ReadDataTimeout", 5000);
    Import(*dialog, "Complete", 8000);
    EXPECT_EQ(dialog->Records(), measured);
    Save(*dialog);
    ASSERT_TRUE(WaitForBox("DataDeleted"));
    ExpectEachStoredExactlyOrKept(measured, scale);
}

} // namespace
