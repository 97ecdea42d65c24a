// SPDX-License-Identifier: MIT
#pragma once

#include "core/DayMean.h"

#include <QByteArray>
#include <QString>
#include <vector>

// Reads measurements from a CSV file in one of the forms people bring:
//
// - the program's own (MeasurementCsv.h): date, weight_kg or weight_lb, body_fat_percent,
//   water_percent, muscle_percent, bone_kg or bone_lb;
// - a phone app's export: DATE (yyyy-MM-dd) and TIME columns with WEIGHT, BODY_FAT, WATER, MUSCLE
//   and BONE, or its older form with one dateTime column ("yyyy-MM-dd HH:mm") instead.
//
// Column names are compared without regard to case, in any order; other columns are ignored and
// empty value cells read 0. Values are rounded to tenths, as the scale measures them. Of several
// rows of one day the one with the latest time is kept, and of rows with the same (or no) time the
// later one in the file.
enum class TCsvFileError { None, Unreadable, TooLarge, NotUtf8, NotCsv, NoDateColumn };

struct TCsvMeasurements {
    TCsvFileError Error = TCsvFileError::None;
    std::vector<TDayMean> Days; // one per day, oldest first
    int Rows = 0;               // data rows in the file, skipped ones included
    int SkippedBadDate = 0;
    int SkippedOutOfRange = 0; // a value that is no number or lies outside what a body can measure
    int SkippedNoWeight = 0;
};

// Larger files are refused before they are read: ten years of daily measurements take half a MB.
inline constexpr qint64 MaxMeasurementCsvBytes = 16 * 1024 * 1024;

TCsvMeasurements ReadMeasurementCsv(const QByteArray& bytes);
TCsvMeasurements ReadMeasurementCsvFile(const QString& path);
