// SPDX-License-Identifier: MIT
#pragma once

#include "core/DayMean.h"

#include <QByteArray>
#include <vector>

// The program's own CSV form of a user's measurements: RFC 4180, UTF-8, comma separated, "."
// decimals, one header line whose names state their units, then one line per day:
//
//   date,weight_kg,body_fat_percent,water_percent,muscle_percent,bone_kg
//   2026-03-15,72.5,20.1,55.3,38.2,3.1
//
// In pounds the mass columns are weight_lb and bone_lb, converted as the measurement list shows
// them (KgToLb); the lines end in CR LF.
enum class TCsvUnit { Kilograms, Pounds };

QByteArray MeasurementCsvHeader(TCsvUnit unit);
// The header and one line per entry of days, in their order.
QByteArray WriteMeasurementCsv(const std::vector<TDayMean>& days, TCsvUnit unit);
