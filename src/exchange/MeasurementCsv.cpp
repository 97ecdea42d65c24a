// SPDX-License-Identifier: MIT
#include "exchange/MeasurementCsv.h"

#include "core/Units.h"

#include <charconv>

namespace {

// One decimal, as every stored value is a multiple of 0.1.
void AppendNumber(QByteArray& line, double value) {
    char digits[400]; // enough for the fixed notation of any double
    const char* end = std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, 1).ptr;
    line.append(digits, end - digits);
}

} // namespace

QByteArray MeasurementCsvHeader(TCsvUnit unit) {
    return unit == TCsvUnit::Pounds
               ? QByteArrayLiteral("date,weight_lb,body_fat_percent,water_percent,muscle_percent,bone_lb")
               : QByteArrayLiteral("date,weight_kg,body_fat_percent,water_percent,muscle_percent,bone_kg");
}

QByteArray WriteMeasurementCsv(const std::vector<TDayMean>& days, TCsvUnit unit) {
    const bool pounds = unit == TCsvUnit::Pounds;
    QByteArray csv = MeasurementCsvHeader(unit);
    csv.append("\r\n");
    csv.reserve(csv.size() + static_cast<qsizetype>(days.size()) * 40);
    for (const TDayMean& day : days) {
        csv.append(day.Day.toString(Qt::ISODate).toLatin1());
        csv.append(',');
        AppendNumber(csv, pounds ? KgToLb(day.Weight) : day.Weight);
        csv.append(',');
        AppendNumber(csv, day.Fat);
        csv.append(',');
        AppendNumber(csv, day.Tbw);
        csv.append(',');
        AppendNumber(csv, day.Mus);
        csv.append(',');
        AppendNumber(csv, pounds ? KgToLb(day.Bone) : day.Bone);
        csv.append("\r\n");
    }
    return csv;
}
