// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringView>
#include <optional>
#include <vector>

// The records of an RFC 4180 text, each a list of fields: separated by commas, ended by CR LF or a
// bare LF, a field in double quotes may hold commas, line breaks and doubled quotes. Blank lines
// are passed over. Nothing when the text is not of that form: a quote left open, text after a
// closing quote, or a quote inside a field that does not start with one.
using TCsvRecord = std::vector<QString>;
std::optional<std::vector<TCsvRecord>> ParseCsvRecords(QStringView text);
