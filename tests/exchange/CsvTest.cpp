// SPDX-License-Identifier: MIT
#include "ExchangeFixture.h"

#include "exchange/CsvRecords.h"
#include "exchange/MeasurementCsv.h"
#include "exchange/MeasurementCsvReader.h"

#include <QFile>

namespace {

TEST(CsvRecords, FieldsOfRfc4180Text) {
    struct Case {
        const char* text;
        std::vector<TCsvRecord> records;
    };
    const Case cases[] = {
        {"a,b\r\n1,2\r\n", {{"a", "b"}, {"1", "2"}}},
        {"a,b\n1,2", {{"a", "b"}, {"1", "2"}}},                    // LF ends, no final line end
        {"a,,c\n", {{"a", "", "c"}}},                              // an empty field
        {"\"x,y\",\"say \"\"hi\"\"\"\n", {{"x,y", "say \"hi\""}}}, // comma and doubled quotes
        {"\"two\r\nlines\",z\n", {{"two\r\nlines", "z"}}},         // a line break in quotes
        {"a\n\n\r\nb\n", {{"a"}, {"b"}}},                          // blank lines passed over
        {"a,\"\"\n", {{"a", ""}}},                                 // an empty quoted field
    };
    for (const Case& c : cases) {
        const auto records = ParseCsvRecords(QString::fromUtf8(c.text));
        ASSERT_TRUE(records.has_value()) << c.text;
        EXPECT_EQ(*records, c.records) << c.text;
    }
    for (const char* bad : {"\"open,b\n", "\"closed\"x,b\n", "ab\"c\",d\n"})
        EXPECT_FALSE(ParseCsvRecords(QString::fromUtf8(bad)).has_value()) << bad;
}

TEST(MeasurementCsv, WritesNumbersUnderNamedUnits) {
    const std::vector<TDayMean> days = {Day("2026-03-01", 72.5, 20.1, 55.3, 38.2, 3.1),
                                        Day("2026-03-02", 70, 20, 55, 38, 3)};
    EXPECT_EQ(WriteMeasurementCsv(days, TCsvUnit::Kilograms),
              "date,weight_kg,body_fat_percent,water_percent,muscle_percent,bone_kg\r\n"
              "2026-03-01,72.5,20.1,55.3,38.2,3.1\r\n"
              "2026-03-02,70.0,20.0,55.0,38.0,3.0\r\n");
    // Pounds as the measurement list converts them: 70 kg lists as 154.4 lb.
    EXPECT_EQ(WriteMeasurementCsv(days, TCsvUnit::Pounds),
              "date,weight_lb,body_fat_percent,water_percent,muscle_percent,bone_lb\r\n"
              "2026-03-01,159.8,20.1,55.3,38.2,6.8\r\n"
              "2026-03-02,154.4,20.0,55.0,38.0,6.6\r\n");
}

TEST(MeasurementCsv, RoundTripGivesTheSameDaysInBothUnits) {
    // Every tenth of a kg from 0.1 to 300 as weight and as bone.
    std::vector<TDayMean> days;
    QDate day(2000, 1, 1);
    for (int tenths = 1; tenths <= 3000; ++tenths, day = day.addDays(1))
        days.push_back({day, tenths / 10.0, (tenths % 1000) / 10.0, 55.5, 38.1, (tenths % 500) / 10.0});
    for (TCsvUnit unit : {TCsvUnit::Kilograms, TCsvUnit::Pounds}) {
        const TCsvMeasurements read = ReadMeasurementCsv(WriteMeasurementCsv(days, unit));
        EXPECT_EQ(read.Error, TCsvFileError::None);
        EXPECT_EQ(read.Rows, 3000);
        EXPECT_EQ(read.Days, days) << (unit == TCsvUnit::Pounds ? "pounds" : "kilograms");
    }
}

TEST(MeasurementCsvReader, ReadsEveryFormFromItsFile) {
    struct Case {
        const char* file;
        std::vector<TDayMean> days;
    };
    const Case cases[] = {
        {"own-kg.csv",
         {Day("2026-03-01", 72.5, 20.1, 55.3, 38.2, 3.1), Day("2026-03-02", 72.3, 20.0, 55.4, 38.3, 3.1)}},
        {"own-lb.csv", {Day("2026-03-01", 72.5, 20.1, 55.3, 38.2, 3.1)}},
        // Columns in another order, quoted, with others beside them; empty cells read 0; of the two
        // rows of 2026-03-02 the evening one wins although it comes first; 72.56 rounds to a tenth.
        {"phone-current.csv", {Day("2026-03-01", 72.6), Day("2026-03-02", 73.4, 21.0, 55.0, 38.1, 3.2)}},
        {"phone-older.csv",
         {Day("2026-02-27", 71.9, 0, 54.9, 37.8, 3.0), Day("2026-02-28", 72.0, 0, 55.1, 38.0, 3.1)}},
    };
    for (const Case& c : cases) {
        const TCsvMeasurements read = ReadMeasurementCsvFile(FixturePath(c.file));
        EXPECT_EQ(read.Error, TCsvFileError::None) << c.file;
        EXPECT_EQ(read.Days, c.days) << c.file;
        EXPECT_EQ(read.SkippedBadDate + read.SkippedOutOfRange + read.SkippedNoWeight, 0) << c.file;
    }
}

TEST(MeasurementCsvReader, SkipsRowsAndSaysWhy) {
    const QByteArray csv = "DATE,TIME,WEIGHT,BODY_FAT,WATER,MUSCLE,BONE\n"
                           "2026-02-30,07:00,70,20,55,38,3\n"  // no such day
                           "15.03.2026,07:00,70,20,55,38,3\n"  // not yyyy-MM-dd
                           ",07:00,70,20,55,38,3\n"            // no day
                           "2026-03-01,25:00,70,20,55,38,3\n"  // no such time
                           "2026-03-02,07:00,600,20,55,38,3\n" // heavier than any scale
                           "2026-03-03,07:00,70,120,55,38,3\n" // more than 100 %
                           "2026-03-04,07:00,70,-1,55,38,3\n"
                           "2026-03-05,07:00,seventy,20,55,38,3\n"
                           "2026-03-06,07:00,nan,20,55,38,3\n"
                           "2026-03-07,07:00,,20,55,38,3\n"  // no weight
                           "2026-03-08,07:00,0,20,55,38,3\n" // an empty scale
                           "2026-03-09,07:00,70.04,20,55,38,3\n";
    const TCsvMeasurements read = ReadMeasurementCsv(csv);
    EXPECT_EQ(read.Error, TCsvFileError::None);
    EXPECT_EQ(read.Rows, 12);
    EXPECT_EQ(read.SkippedBadDate, 4);
    EXPECT_EQ(read.SkippedOutOfRange, 5);
    EXPECT_EQ(read.SkippedNoWeight, 2);
    EXPECT_EQ(read.Days, std::vector<TDayMean>{Day("2026-03-09", 70.0, 20, 55, 38, 3)});
}

TEST(MeasurementCsvReader, SameDayWithoutTimesKeepsTheLaterRow) {
    const TCsvMeasurements read =
        ReadMeasurementCsv("date,weight_kg\n2026-03-01,70.1\n2026-03-02,71\n2026-03-01,70.2\n");
    EXPECT_EQ(read.Days, (std::vector<TDayMean>{Day("2026-03-01", 70.2), Day("2026-03-02", 71)}));
}

TEST(MeasurementCsvReader, RefusesFilesItCannotRead) {
    struct Case {
        const char* file;
        TCsvFileError error;
    };
    const Case cases[] = {
        {"binary.csv", TCsvFileError::NotCsv},
        {"latin1.csv", TCsvFileError::NotUtf8},
        {"no-date-column.csv", TCsvFileError::NoDateColumn},
        {"missing.csv", TCsvFileError::Unreadable},
    };
    for (const Case& c : cases) {
        const TCsvMeasurements read = ReadMeasurementCsvFile(FixturePath(c.file));
        EXPECT_EQ(read.Error, c.error) << c.file;
        EXPECT_TRUE(read.Days.empty()) << c.file;
    }
    EXPECT_EQ(ReadMeasurementCsv("").Error, TCsvFileError::NotCsv);
    EXPECT_EQ(ReadMeasurementCsv("date,weight_kg\n\"2026-03-01,70\n").Error, TCsvFileError::NotCsv);
    // A byte order mark before the header is no part of the first name.
    EXPECT_EQ(ReadMeasurementCsv("\xEF\xBB\xBF"
                                 "date,weight_kg\n2026-03-01,70\n")
                  .Days.size(),
              1u);
}

TEST(MeasurementCsvReader, RefusesAFileLargerThanTheLimitWithoutReadingIt) {
    QTemporaryDir folder;
    QFile file(folder.filePath(QStringLiteral("huge.csv")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("date,weight_kg\n");
    ASSERT_TRUE(file.resize(MaxMeasurementCsvBytes + 1)); // sparse: nothing is really written
    file.close();
    EXPECT_EQ(ReadMeasurementCsvFile(file.fileName()).Error, TCsvFileError::TooLarge);
    EXPECT_EQ(ReadMeasurementCsv(QByteArray(MaxMeasurementCsvBytes + 1, 'a')).Error, TCsvFileError::TooLarge);
}

} // namespace
