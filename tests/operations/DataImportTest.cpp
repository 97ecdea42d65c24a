// SPDX-License-Identifier: MIT
#include "DataImportFixture.h"

#include "core/ErrorHandler.h"
#include "operations/TfrmSyncDate.h"

#include <QApplication>
#include <QLabel>
#include <QLoggingCategory>
#include <QProgressBar>
#include <QTimer>
#include <algorithm>

namespace {

TEST_F(DataImportTest, ReadsEveryMeasurementInTwoHalvesAndListsThem) {
    ScaleWith({Measurement(March1, 72.5), Measurement(March2, 72.1, 22.9, 55.6, 38.4, 3.0),
               Measurement(March3, 71.8)});
    std::unique_ptr<TfrmDataImport> dialog = OpenAndCount(3);
    EXPECT_EQ(Child<QLineEdit>(*dialog, "edtUserName")->text(), QStringLiteral("Alice"));
    QStringList progress;
    QObject::connect(Child<QProgressBar>(*dialog, "pb1"), &QProgressBar::valueChanged, [&](int value) {
        if (value > 0)
            progress << Child<QLabel>(*dialog, "lblMsgCount")->text();
    });

    Import(*dialog);
    EXPECT_EQ(progress, (QStringList{"1/3", "2/3", "3/3"}));
    EXPECT_EQ(Requests(), (std::vector<Bytes>{CountRequest, HexBytes("00 FF 04 01 01 00 01 D8 A3"),
                                              HexBytes("00 FF 04 01 02 00 01 81 F3"), Part1(2), Part2(2),
                                              Part1(3), Part2(3)}));
    ExpectBox("Complete", "Notify", MB_OK | MB_ICONINFORMATION);
    EXPECT_EQ(boxes.shown().size(), 1);
    EXPECT_EQ(boxes.shown().front().owner, dialog.get());

    ASSERT_EQ(RowCount(*dialog), 3);
    EXPECT_EQ(Row(*dialog, 0), (QStringList{"2024-03-01", "72.5 KG", "23.4 ", "55.1 ", "38.2 ", "3.1 KG"}));
    EXPECT_EQ(Row(*dialog, 1), (QStringList{"2024-03-02", "72.1 KG", "22.9 ", "55.6 ", "38.4 ", "3.0 KG"}));
    EXPECT_EQ(dialog->Records().size(), 3u);
    EXPECT_EQ(dialog->Records()[2], Measurement(March3, 71.8));
    for (int row = 0; row < 3; ++row)
        EXPECT_EQ(Data(*dialog, row, 3, Qt::BackgroundRole).value<QColor>(),
                  row % 2 == 0 ? QColor(235, 230, 251) : QColor(Qt::white));
    QStringList captions;
    for (int column = 0; column < 6; ++column)
        captions << List(*dialog)->model()->headerData(column, Qt::Horizontal).toString();
    EXPECT_EQ(captions, (QStringList{"Measuring Date", "Weight", "FAT %", "TBW %", "MUS %", "BONE"}));
    EXPECT_EQ(List(*dialog)->columnWidth(0), 120);
    EXPECT_EQ(List(*dialog)->columnWidth(5), 90);
    EXPECT_EQ(Data(*dialog, 0, 0, Qt::TextAlignmentRole).toInt(), int(Qt::AlignLeft | Qt::AlignVCenter));
    EXPECT_EQ(Data(*dialog, 0, 1, Qt::TextAlignmentRole).toInt(), int(Qt::AlignRight | Qt::AlignVCenter));
}

TEST_F(DataImportTest, CellTextsInBothUnits) {
    const MeasurementRecord record = Measurement(March1, 70.0, 23.45, 55.0, 38.2, 3.1);
    EXPECT_EQ(TfrmDataImport::CellTexts(record, 0),
              (QStringList{"2024-03-01", "70.0 KG", "23.4 ", "55.0 ", "38.2 ", "3.1 KG"}));
    EXPECT_EQ(TfrmDataImport::CellTexts(record, 1),
              (QStringList{"2024-03-01", " 154.4 LB", "23.4 ", "55.0 ", "38.2 ", "   6.8 LB"}));
    EXPECT_EQ(TfrmDataImport::CellTexts(record, 2)[1], QStringLiteral(" 154.4 LB")) << "any unit but 0";
}

TEST_F(DataImportTest, AnImperialListStillStoresKilograms) {
    Globals.CurrentUnit = 1;
    ScaleWith({Measurement(March1, 70.0)});
    std::unique_ptr<TfrmDataImport> dialog = OpenAndCount(1);
    Import(*dialog);
    EXPECT_EQ(Row(*dialog, 0)[1], QStringLiteral(" 154.4 LB"));
    boxes.setNextAnswer(IDCANCEL);
    Save(*dialog);
    EXPECT_EQ(StoredDays(), QStringList{"2024-03-01 70"});
}

TEST_F(DataImportTest, AMeasurementLostFiveTimesEndsTheTransferAndKeepsTheRowsRead) {
    QStringList traces;
    static QStringList* traceSink = nullptr;
    traceSink = &traces;
    const QtMessageHandler previousHandler =
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext& context, const QString& message) {
            if (QLatin1String(context.category) == QLatin1String("bfs.import"))
                traceSink->append(message);
        });
    QLoggingCategory::setFilterRules(QStringLiteral("bfs.import.debug=true"));

    ScaleWith({Measurement(March1, 72.5), Measurement(March2, 72.1), Measurement(March3, 71.8)});
    std::unique_ptr<TfrmDataImport> dialog = OpenAndCount(3);
    Filter().DropNext(ReadDataRequest(1, ReadDataPart::Part1, 2), 5);
    QElapsedTimer clock;
    clock.start();
    Import(*dialog, "ReadDataTimeout", 5000);
    const qint64 elapsed = clock.elapsed();
    QLoggingCategory::setFilterRules(QString());
    qInstallMessageHandler(previousHandler);

    EXPECT_GE(elapsed, 5 * TfrmDataImport::RecordTimeoutMs);
    EXPECT_LT(elapsed, 4000);
    ExpectBox("ReadDataTimeout", "Error", MB_OK | MB_ICONERROR);
    EXPECT_EQ(boxes.shown().size(), 1);
    EXPECT_EQ(Requests(), (std::vector<Bytes>{CountRequest, Part1(1), Part2(1), Part1(2), Part1(2), Part1(2),
                                              Part1(2), Part1(2)}));
    EXPECT_EQ(traces, (QStringList{"read data index  = 2 , timeout =0", "read data index  = 2 , timeout =1",
                                   "read data index  = 2 , timeout =2", "read data index  = 2 , timeout =3",
                                   "read data index  = 2 , timeout =4"}));
    EXPECT_EQ(RowCount(*dialog), 1);
    EXPECT_EQ(Child<QLabel>(*dialog, "lblMsgCount")->text(), QStringLiteral("1/3"));

    // What was read can be saved, but the scale is not offered to delete what nobody has read.
    Save(*dialog);
    EXPECT_EQ(boxes.texts(), QStringList{StayOnScaleText(2)});
    EXPECT_EQ(boxes.shown()[0].caption, GetText("Notify"));
    EXPECT_EQ(boxes.shown()[0].flags, MB_OK | MB_ICONINFORMATION);
    EXPECT_EQ(StoredDays(), QStringList{"2024-03-01 72.5"});
    const std::vector<Bytes> requests = Requests();
    EXPECT_EQ(std::count(requests.begin(), requests.end(), RequestBytes(DeleteDataRequest(1))), 0);

    // A new Import starts again from the first measurement with a fresh attempt count, once the
    // count asked again shows that no late reply to the old requests can still come.
    Filter().ClearLog();
    Import(*dialog);
    EXPECT_EQ(RowCount(*dialog), 3);
    ASSERT_GE(Requests().size(), 2u);
    EXPECT_EQ(Requests()[0], CountRequest);
    EXPECT_EQ(Requests()[1], Part1(1));
}

TEST_F(DataImportTest, ALostSecondHalfAsksForTheFirstHalfAgain) {
    ScaleWith({Measurement(March1, 72.5), Measurement(March2, 72.1)});
    std::unique_ptr<TfrmDataImport> dialog = OpenAndCount(2);
    Filter().DropNext(ReadDataRequest(1, ReadDataPart::Part2, 1));
    Import(*dialog);
    EXPECT_EQ(Requests(),
              (std::vector<Bytes>{CountRequest, Part1(1), Part2(1), Part1(1), Part2(1), Part1(2), Part2(2)}));
    EXPECT_EQ(dialog->Records(),
              (std::vector<MeasurementRecord>{Measurement(March1, 72.5), Measurement(March2, 72.1)}));
}

TEST_F(DataImportTest, FaultyRecordRepliesAreIgnoredAndAskedForAgain) {
    VirtualScale& scale = ScaleWith({Measurement(March1, 72.5), Measurement(March2, 72.1)});
    std::unique_ptr<TfrmDataImport> dialog = OpenAndCount(2);
    const std::vector<std::pair<const char*, std::function<void()>>> faults = {
        {"damaged checksum", [&] { scale.damageNextChecksums(1); }},
        {"7 bytes", [&] { scale.setNextReplyLength(7); }},
        {"9 bytes", [&] { scale.setNextReplyLength(9); }},
        {"answered for another slot", [&] { scale.answerForSlotNext(2); }},
        {"never answered", [&] { scale.setStalled(true); }},
    };
    for (const auto& [name, inject] : faults) {
        SCOPED_TRACE(name);
        Filter().ClearLog();
        // The fault meets the reply to the first part 2; a stalled scale wakes up when part 1 is
        // asked for the second time.
        Filter().BeforeNext(ReadDataRequest(1, ReadDataPart::Part2, 1), inject);
        Filter().BeforeNext(ReadDataRequest(1, ReadDataPart::Part1, 1), [] {});
        Filter().BeforeNext(ReadDataRequest(1, ReadDataPart::Part1, 1), [&] { scale.setStalled(false); });
        Import(*dialog);
        std::vector<Bytes> expected{Part1(1), Part2(1), Part1(1), Part2(1), Part1(2), Part2(2)};
        if (name != faults.front().first) // the import before timed out: the count comes first
            expected.insert(expected.begin(), CountRequest);
        EXPECT_EQ(Requests(), expected);
        EXPECT_EQ(dialog->Records(),
                  (std::vector<MeasurementRecord>{Measurement(March1, 72.5), Measurement(March2, 72.1)}));
        EXPECT_EQ(dialog->SkippedCount(), 0);
    }
}

TEST_F(DataImportTest, ALateSecondCopyOfAHalfIsNotTakenForTheOtherHalf) {
    ScaleWith({Measurement(March1, 72.5), Measurement(March2, 72.1), Measurement(March3, 71.8)});
    std::unique_ptr<TfrmDataImport> dialog = OpenAndCount(3);
    // The scale hears these twice, as it does when a request is repeated after a time-out just
    // before the first reply arrives, and so answers twice.
    Filter().DuplicateNext(ReadDataRequest(1, ReadDataPart::Part1, 2));
    Filter().DuplicateNext(ReadDataRequest(1, ReadDataPart::Part2, 2));
    Import(*dialog);
    EXPECT_EQ(dialog->Records(),
              (std::vector<MeasurementRecord>{Measurement(March1, 72.5), Measurement(March2, 72.1),
                                              Measurement(March3, 71.8)}));
    EXPECT_EQ(dialog->SkippedCount(), 0);
    EXPECT_EQ(boxes.texts(), QStringList{GetText("Complete")});
}

TEST_F(DataImportTest, UnpluggingTheScaleMidTransferEndsItWithScaleDisconnect) {
    VirtualScale& scale = ScaleWith({Measurement(March1, 72.5), Measurement(March2, 72.1)});
    std::unique_ptr<TfrmDataImport> dialog = OpenAndCount(2);
    Filter().BeforeNext(ReadDataRequest(1, ReadDataPart::Part1, 2), [&] { scale.unplugOnNextRequest(); });
    Import(*dialog, "ScaleDisconnect");
    ExpectBox("ScaleDisconnect", "Error", MB_OK | MB_ICONINFORMATION);
    EXPECT_EQ(Globals.AttachedScale, nullptr);
    EXPECT_EQ(RowCount(*dialog), 1);

    Import(*dialog, "ScaleDisconnect");
    EXPECT_EQ(RowCount(*dialog), 0) << "Import empties the list first";
}

TEST_F(DataImportTest, MeasurementsWithoutAValidDateAreLeftOutAndCounted) {
    ScaleWith({Measurement(March1, 72.5), Measurement(QDate(), 99.9), Measurement(March3, 71.8),
               Measurement(QDate(), 98.8)});
    std::unique_ptr<TfrmDataImport> dialog = OpenAndCount(4);
    Import(*dialog);
    EXPECT_EQ(
        boxes.texts(),
        (QStringList{GetText("Complete"),
                     GetText("SkippedInvalidDates").replace(QStringLiteral("%d"), QStringLiteral("2"))}));
    EXPECT_TRUE(GetText("SkippedInvalidDates").contains(QStringLiteral("%d")));
    EXPECT_EQ(boxes.shown()[1].caption, GetText("Notify"));
    EXPECT_EQ(boxes.shown()[1].flags, MB_OK | MB_ICONINFORMATION);
    EXPECT_EQ(Child<QLabel>(*dialog, "lblMsgCount")->text(), QStringLiteral("4/4"));
    EXPECT_EQ(dialog->Records(),
              (std::vector<MeasurementRecord>{Measurement(March1, 72.5), Measurement(March3, 71.8)}));

    // The scale keeps what could not be stored.
    Save(*dialog);
    EXPECT_EQ(boxes.texts(), QStringList{StayOnScaleText(2)});
    EXPECT_EQ(StoredDays(), (QStringList{"2024-03-01 72.5", "2024-03-03 71.8"}));
}

TEST_F(DataImportTest, TheScaleIsAskedToDeleteOnlyWhatReadsBackAsSaved) {
    // Something between the program and the file changes what was written.
    store->ExecuteSql(QStringLiteral("create trigger mangle after insert on P_DATA when new.WEIGHT = 72.1 "
                                     "begin update P_DATA set WEIGHT = 27.1 where ID = new.ID; end"));
    VirtualScale& scale =
        ScaleWith({Measurement(March1, 72.5), Measurement(March2, 72.1), Measurement(March3, 71.8)});
    std::unique_ptr<TfrmDataImport> dialog = OpenAndCount(3);
    Import(*dialog);
    Filter().ClearLog();
    Save(*dialog);
    EXPECT_EQ(boxes.texts(), QStringList{StayOnScaleText(1)});
    EXPECT_TRUE(Requests().empty());
    EXPECT_EQ(scale.measurements(1).size(), 3u);
}

TEST_F(DataImportTest, SavingKeepsOneRowPerDayTheLastListedAndTellsTheList) {
    store->ExecuteSql(SqlInsertMeasurement(1, March2, 80, 20, 50, 40, 3));
    store->ExecuteSql(SqlInsertMeasurement(2, March2, 60, 20, 50, 40, 3));
    store->ExecuteSql(SqlInsertMeasurement(1, QDate(2024, 2, 28), 81, 20, 50, 40, 3));
    const QStringList otherRows =
        StoredRows(QStringLiteral("where USER_ID <> 1 or THE_DATE <> '2024-03-02'"));
    MyDataWindow myData;
    SetMyDataHandleSource([&] { return &myData; });

    ScaleWith({Measurement(March2, 71.0), Measurement(March1, 70.0), Measurement(March2, 72.0)});
    std::unique_ptr<TfrmDataImport> dialog = OpenAndCount(3);
    Import(*dialog);
    boxes.setNextAnswer(IDCANCEL);
    Filter().ClearLog();
    Save(*dialog);
    ExpectBox("SaveSucessAndDelete", "Notify", MB_OKCANCEL | MB_ICONINFORMATION);
    EXPECT_EQ(boxes.shown().size(), 1);
    EXPECT_TRUE(Requests().empty()) << "Cancel: the scale keeps its measurements";
    EXPECT_EQ(StoredDays(), (QStringList{"2024-02-28 81", "2024-03-01 70", "2024-03-02 72"}));
    EXPECT_EQ(StoredRows(QStringLiteral("where USER_ID <> 1 or THE_DATE < '2024-03-01'")), otherRows);
    EXPECT_EQ(Child<QProgressBar>(*dialog, "pb1")->value(), 3);
    EXPECT_TRUE(Button(*dialog, "btnSave")->isEnabled());
    QCoreApplication::processEvents();
    EXPECT_EQ(myData.refreshes, (std::vector<std::pair<qintptr, qintptr>>{{0, 0}}));
    EXPECT_EQ(RowCount(*dialog), 3) << "the rows stay";

    // Saving again replaces the same days again.
    boxes.setNextAnswer(IDCANCEL);
    Save(*dialog);
    EXPECT_EQ(StoredDays(), (QStringList{"2024-02-28 81", "2024-03-01 70", "2024-03-02 72"}));
}

TEST_F(DataImportTest, ADatabaseErrorRollsTheWholeSaveBack) {
    store->ExecuteSql(SqlInsertMeasurement(1, March1, 80, 20, 50, 40, 3));
    store->ExecuteSql(SqlInsertMeasurement(2, March1, 60, 20, 50, 40, 3));
    store->ExecuteSql(QStringLiteral("create trigger refuse before insert on P_DATA when new.WEIGHT = 99.9 "
                                     "begin select raise(abort, 'disk on fire'); end"));
    const QStringList before = StoredRows();
    MyDataWindow myData;
    SetMyDataHandleSource([&] { return &myData; });

    ScaleWith({Measurement(March1, 70.0), Measurement(March2, 71.0), Measurement(March3, 99.9)});
    std::unique_ptr<TfrmDataImport> dialog = OpenAndCount(3);
    Import(*dialog);
    Save(*dialog);
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_EQ(boxes.shown()[0].text, QStringLiteral("Error:disk on fire"));
    EXPECT_EQ(boxes.shown()[0].caption, ApplicationTitle);
    EXPECT_EQ(boxes.shown()[0].flags, MB_OK);
    EXPECT_EQ(StoredRows(), before);
    EXPECT_FALSE(Button(*dialog, "btnSave")->isEnabled());
    QCoreApplication::processEvents();
    EXPECT_TRUE(myData.refreshes.empty());

    // The database is usable again, and Save stays disabled for the dialog's life.
    store->ExecuteSql(SqlInsertMeasurement(3, March1, 60, 20, 50, 40, 3));
    Import(*dialog);
    EXPECT_FALSE(Button(*dialog, "btnSave")->isEnabled());
}

TEST_F(DataImportTest, AfterSavingTheScaleDeletesItsCopiesOnRequest) {
    VirtualScale& scale = ScaleWith({Measurement(March1, 72.5), Measurement(March2, 72.1)});
    std::unique_ptr<TfrmDataImport> dialog = OpenAndCount(2);
    Import(*dialog);
    Filter().ClearLog();
    Save(*dialog); // OK to the question
    ASSERT_TRUE(WaitForBox("DataDeleted"));
    EXPECT_EQ(Requests(), (std::vector<Bytes>{CountRequest, HexBytes("00 FF 05 01 55 AA 55 18 38")}))
        << "the count is asked again right before deleting";
    ExpectBox("SaveSucessAndDelete", "Notify", MB_OKCANCEL | MB_ICONINFORMATION);
    ExpectBox("DataDeleted", "Notify", MB_OK | MB_ICONINFORMATION);
    EXPECT_TRUE(scale.measurements(1).empty());
    EXPECT_EQ(RowCount(*dialog), 2) << "the rows stay";
    EXPECT_EQ(StoredDays(), (QStringList{"2024-03-01 72.5", "2024-03-02 72.1"}));

    // Nothing is left to save or import until the dialog is opened again.
    Save(*dialog);
    EXPECT_TRUE(boxes.shown().isEmpty());
    Import(*dialog, "NoDataCanBeImported");
    ExpectBox("NoDataCanBeImported", "Error", MB_OK | MB_ICONINFORMATION);
}

// The scale deletes everything it holds, so what it holds must be what was read: a measurement
// taken while the dialog was open, or a scale that does not say, keeps every measurement there.
struct RecountCase {
    const char* name;
    std::function<void(VirtualScale&)> beforeSave;
    std::function<QString()> box;
    size_t left;
};
class DeleteRecountTest : public DataImportTest, public ::testing::WithParamInterface<RecountCase> {};

TEST_P(DeleteRecountTest, TheScaleKeepsItsMeasurementsWhenItsCountIsNotTheOneRead) {
    VirtualScale& scale = ScaleWith({Measurement(March1, 72.5), Measurement(March2, 72.1)});
    std::unique_ptr<TfrmDataImport> dialog = OpenAndCount(2);
    Import(*dialog);
    GetParam().beforeSave(scale);
    Filter().ClearLog();
    Save(*dialog);
    const QString box = GetParam().box();
    EXPECT_TRUE(WaitUntil([&] { return boxes.texts().contains(box); }))
        << boxes.texts().join("; ").toStdString();
    EXPECT_EQ(Requests(), std::vector<Bytes>{CountRequest}) << "no delete request";
    scale.setStalled(false);
    EXPECT_EQ(scale.measurements(1).size(), GetParam().left);
    EXPECT_EQ(StoredDays(), (QStringList{"2024-03-01 72.5", "2024-03-02 72.1"}));
}

INSTANTIATE_TEST_SUITE_P(
    Faults, DeleteRecountTest,
    ::testing::Values(
        RecountCase{
            "MeasuredAgainAfterTheImport",
            [](VirtualScale& scale) { scale.addMeasurement(1, Measurement(March3, 71.8)); },
            [] {
                return GetText("MeasurementsStayOnScale").replace(QStringLiteral("%d"), QStringLiteral("3"));
            },
            3},
        RecountCase{"TheCountIsNotAnswered", [](VirtualScale& scale) { scale.setStalled(true); },
                    [] { return GetText("ResponseTimeout"); }, 2}),
    [](const ::testing::TestParamInfo<RecountCase>& info) { return std::string(info.param.name); });

TEST_F(DataImportTest, ARejectedDeletionReportsResponseError) {
    VirtualScale& scale = ScaleWith({Measurement(March1, 72.5)});
    std::unique_ptr<TfrmDataImport> dialog = OpenAndCount(1);
    Import(*dialog);
    Filter().BeforeNext(DeleteDataRequest(1), [&] { scale.damageNextChecksums(1); });
    Save(*dialog);
    ASSERT_TRUE(WaitForBox("ResponseError"));
    ExpectBox("ResponseError", "Error", MB_OK | MB_ICONINFORMATION);
    EXPECT_EQ(dialog->Total(), 1) << "the count stays as it was";
}

TEST_F(DataImportTest, NothingHappensOnSaveBeforeAnythingWasRead) {
    ScaleWith({Measurement(March1, 72.5)});
    std::unique_ptr<TfrmDataImport> dialog = OpenAndCount(1);
    Save(*dialog);
    EXPECT_TRUE(boxes.shown().isEmpty());
    EXPECT_TRUE(StoredDays().isEmpty());
}

TEST_F(DataImportTest, ACountForAnotherSlotIsRejected) {
    VirtualScale& scale = ScaleWith({Measurement(March1, 72.5)});
    scale.answerForSlotNext(2);
    std::unique_ptr<TfrmDataImport> dialog = Open();
    ASSERT_TRUE(WaitForBox("ReadDataCountError"));
    ExpectBox("ReadDataCountError", "Error", MB_OK | MB_ICONINFORMATION);
    EXPECT_EQ(Count(*dialog), QStringLiteral("Reading...."));
    RunEventsFor(50);
    EXPECT_EQ(Requests().size(), 1u) << "a rejected count is not asked again";
    Import(*dialog, "NoDataCanBeImported");
}

TEST_F(DataImportTest, TheCountIsAskedThreeTimesASecondApart) {
    ScaleWith({Measurement(March1, 72.5)});
    Filter().DropNext(ReadDataCountRequest(1), 3);
    QElapsedTimer clock;
    clock.start();
    std::unique_ptr<TfrmDataImport> dialog = Open();
    ASSERT_TRUE(WaitForBox("ResponseTimeout", 5000));
    EXPECT_GE(clock.elapsed(), 3 * TfrmDataImport::CountTimeoutMs);
    ExpectBox("ResponseTimeout", "Error", MB_OK | MB_ICONINFORMATION);
    EXPECT_EQ(Requests(), (std::vector<Bytes>{CountRequest, CountRequest, CountRequest}));
    EXPECT_EQ(Count(*dialog), QStringLiteral("Reading...."));
}

TEST_F(DataImportTest, WithoutAScaleTheCountIsNeverAsked) {
    std::unique_ptr<TfrmDataImport> dialog = Open();
    RunEventsFor(30);
    EXPECT_EQ(Count(*dialog), QStringLiteral("Reading...."));
    EXPECT_TRUE(boxes.shown().isEmpty());
    Import(*dialog, "ScaleDisconnect");
    ExpectBox("ScaleDisconnect", "Error", MB_OK | MB_ICONINFORMATION);

    // A scale plugged in later is not asked: the count is asked once per opening.
    ScaleWith({Measurement(March1, 72.5)});
    Import(*dialog, "NoDataCanBeImported");
    EXPECT_TRUE(Requests().empty());
}

TEST_F(DataImportTest, AFailedCountRequestShowsInTheCountField) {
    VirtualScale& scale = ScaleWith({Measurement(March1, 72.5)});
    auto dialog = std::make_unique<TfrmDataImport>();
    dialog->FormCreate();
    dialog->show();
    // Gone, but its removal has not been noticed yet: the write fails.
    backend->virtualBackend.unplug(scale);
    TWindowMessage request(WM_REQUEST_COUNT);
    QCoreApplication::sendEvent(dialog.get(), &request);
    EXPECT_EQ(Count(*dialog), GetText("ReadDataCountError"));
    EXPECT_TRUE(boxes.shown().isEmpty());
}

TEST_F(DataImportTest, AStaleReplyToAnEarlierDialogDoesNotSpoilTheImport) {
    VirtualScale& scale = ScaleWith({Measurement(March1, 72.5), Measurement(March2, 72.1)});
    scale.setReplyDelay(150);
    {
        TfrmSyncDate clock;
        clock.FormCreate();
        clock.show();
        clock.findChild<QPushButton*>(QStringLiteral("btnOk"))->click();
        clock.reject(); // before the scale has answered
    }
    std::unique_ptr<TfrmDataImport> dialog = Open();
    ASSERT_TRUE(WaitUntil([&] { return dialog->Total() == 2; }));
    ExpectBox("ReadDataCountError", "Error", MB_OK | MB_ICONINFORMATION);
    scale.setReplyDelay(0);
    Import(*dialog);
    EXPECT_EQ(dialog->Records().size(), 2u);
}

TEST_F(DataImportTest, TheOpenRoutineAsksForTheCountAndClosingLetsTheScaleGo) {
    ScaleWith({Measurement(March1, 72.5), Measurement(March2, 72.1)});
    QString countSeen;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<TfrmDataImport*>(QApplication::activeModalWidget());
        if (!dialog || dialog->Total() != 2)
            return;
        countSeen = Count(*dialog);
        dialog->findChild<QPushButton*>(QStringLiteral("btnClose"))->click();
    });
    closer.start(10);
    RunDataImportDialog(nullptr);
    EXPECT_EQ(countSeen, QStringLiteral("2"));
    ASSERT_NE(Globals.AttachedScale, nullptr);
    EXPECT_FALSE(Globals.AttachedScale->IsReaderRunning());
}

} // namespace
