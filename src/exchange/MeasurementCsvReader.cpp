// SPDX-License-Identifier: MIT
#include "exchange/MeasurementCsvReader.h"

#include "core/Units.h"
#include "exchange/CsvRecords.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>

namespace {

enum Value { Weight, Fat, Tbw, Mus, Bone, ValueCount };

// Where each column of interest stands in the header; -1 when it is missing.
struct TColumns {
    int Date = -1;
    int Time = -1;
    bool DateHoldsTime = false;
    int Values[ValueCount] = {-1, -1, -1, -1, -1};
    bool Pounds[ValueCount] = {};
};

struct TColumnName {
    const char* Name;
    int Value;
    bool Pounds;
};

constexpr TColumnName ValueColumns[] = {
    {"weight_kg", Weight, false}, {"weight_lb", Weight, true},
    {"weight", Weight, false},    {"body_fat_percent", Fat, false},
    {"body_fat", Fat, false},     {"water_percent", Tbw, false},
    {"water", Tbw, false},        {"muscle_percent", Mus, false},
    {"muscle", Mus, false},       {"bone_kg", Bone, false},
    {"bone_lb", Bone, true},      {"bone", Bone, false},
};

TColumns FindColumns(const TCsvRecord& header) {
    TColumns columns;
    for (int i = 0; i < static_cast<int>(header.size()); ++i) {
        const QString name = header[static_cast<size_t>(i)].trimmed();
        auto is = [&](const char* wanted) {
            return name.compare(QLatin1String(wanted), Qt::CaseInsensitive) == 0;
        };
        if (is("date") && columns.Date < 0) {
            columns.Date = i;
        } else if (is("datetime") && columns.Date < 0) {
            columns.Date = i;
            columns.DateHoldsTime = true;
        } else if (is("time") && columns.Time < 0) {
            columns.Time = i;
        } else {
            for (const TColumnName& column : ValueColumns)
                if (is(column.Name) && columns.Values[column.Value] < 0) {
                    columns.Values[column.Value] = i;
                    columns.Pounds[column.Value] = column.Pounds;
                }
        }
    }
    return columns;
}

// The number of the digits text[from, from + count), or -1 when one of them is no digit.
int DigitsAt(QStringView text, qsizetype from, qsizetype count) {
    int value = 0;
    for (qsizetype i = from; i < from + count; ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9')
            return -1;
        value = value * 10 + (c - u'0');
    }
    return value;
}

// The day of exactly "yyyy-MM-dd"; invalid otherwise. (QDate::fromString takes longer than the rest
// of a row together.)
QDate DayOf(QStringView text) {
    if (text.size() != 10 || text[4] != u'-' || text[7] != u'-')
        return QDate();
    const int year = DigitsAt(text, 0, 4);
    const int month = DigitsAt(text, 5, 2);
    const int day = DigitsAt(text, 8, 2);
    return year < 0 || month < 0 || day < 0 ? QDate() : QDate(year, month, day);
}

// Seconds since midnight of "HH:mm" or "HH:mm:ss"; -1 for the empty text; nothing when it is no time.
std::optional<int> SecondsOfDay(QStringView text) {
    text = text.trimmed();
    if (text.isEmpty())
        return -1;
    if ((text.size() != 5 && text.size() != 8) || text[2] != u':' || (text.size() == 8 && text[5] != u':'))
        return std::nullopt;
    const int hours = DigitsAt(text, 0, 2);
    const int minutes = DigitsAt(text, 3, 2);
    const int seconds = text.size() == 8 ? DigitsAt(text, 6, 2) : 0;
    if (hours < 0 || hours > 23 || minutes < 0 || minutes > 59 || seconds < 0 || seconds > 59)
        return std::nullopt;
    return (hours * 60 + minutes) * 60 + seconds;
}

// The day and the time of day of a row; an invalid day when its text is none.
struct TWhen {
    QDate Day;
    int Seconds = -1;
};

TWhen WhenOf(const TCsvRecord& row, const TColumns& columns) {
    auto cell = [&](int index) {
        return index >= 0 && index < static_cast<int>(row.size()) ? row[static_cast<size_t>(index)]
                                                                  : QString();
    };
    const QString stamp = cell(columns.Date).trimmed();
    TWhen when;
    const QDate day = DayOf(QStringView(stamp).left(10));
    if (!day.isValid())
        return when;
    // yyyy-MM-dd, optionally followed by a time after a blank or a 'T'.
    std::optional<int> seconds = -1;
    if (stamp.size() > 10) {
        if (stamp[10] != u' ' && stamp[10] != u'T')
            return when;
        seconds = SecondsOfDay(QStringView(stamp).mid(11));
    } else if (columns.Time >= 0) {
        seconds = SecondsOfDay(cell(columns.Time));
    }
    if (!seconds)
        return when;
    when.Day = day;
    when.Seconds = *seconds;
    return when;
}

// The number in text, with "." or "," before the decimals; nothing when it is none.
std::optional<double> NumberOf(QStringView text) {
    char ascii[64];
    if (text.size() >= static_cast<qsizetype>(sizeof ascii))
        return std::nullopt;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c > 0x7F)
            return std::nullopt;
        ascii[i] = c == u',' ? '.' : static_cast<char>(c);
    }
    double value = 0;
    const char* end = ascii + text.size();
    const std::from_chars_result read = std::from_chars(ascii, end, value);
    if (read.ec != std::errc() || read.ptr != end || !std::isfinite(value))
        return std::nullopt;
    return value;
}

struct TLimits {
    double Lowest;
    double Highest;
};
// What a person standing on a bathroom scale can measure, in kg and per cent.
constexpr TLimits Limits[ValueCount] = {{0.1, 500}, {0, 100}, {0, 100}, {0, 100}, {0, 50}};

double RoundToTenth(double value) {
    return std::round(value * 10.0) / 10.0;
}

struct TCandidate {
    TDayMean Values;
    int Seconds;
};

} // namespace

TCsvMeasurements ReadMeasurementCsv(const QByteArray& bytes) {
    TCsvMeasurements result;
    if (bytes.size() > MaxMeasurementCsvBytes) {
        result.Error = TCsvFileError::TooLarge;
        return result;
    }
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder(bytes);
    if (decoder.hasError()) {
        result.Error = TCsvFileError::NotUtf8;
        return result;
    }
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    // Control characters other than line ends and tabs mark a file that is not text at all.
    const bool binary = std::any_of(text.cbegin(), text.cend(), [](QChar c) {
        return c.unicode() < 0x20 && c != u'\r' && c != u'\n' && c != u'\t';
    });
    std::optional<std::vector<TCsvRecord>> records;
    if (!binary)
        records = ParseCsvRecords(text);
    if (!records || records->empty()) {
        result.Error = TCsvFileError::NotCsv;
        return result;
    }
    const TColumns columns = FindColumns(records->front());
    if (columns.Date < 0) {
        result.Error = TCsvFileError::NoDateColumn;
        return result;
    }

    std::vector<std::pair<QDate, TCandidate>> kept; // in file order; reduced to one per day below
    kept.reserve(records->size());
    for (size_t r = 1; r < records->size(); ++r) {
        const TCsvRecord& row = (*records)[r];
        ++result.Rows;
        const TWhen when = WhenOf(row, columns);
        if (!when.Day.isValid()) {
            ++result.SkippedBadDate;
            continue;
        }
        double values[ValueCount] = {};
        bool inRange = true;
        bool hasWeight = false;
        for (int v = 0; v < ValueCount; ++v) {
            const int index = columns.Values[v];
            const QStringView text = index >= 0 && index < static_cast<int>(row.size())
                                         ? QStringView(row[static_cast<size_t>(index)]).trimmed()
                                         : QStringView();
            if (text.isEmpty())
                continue;
            const std::optional<double> number = NumberOf(text);
            if (!number) {
                inRange = false;
                break;
            }
            const double value = RoundToTenth(columns.Pounds[v] ? LbToKg(*number) : *number);
            if (v == Weight && value == 0)
                continue; // an empty scale, not a measurement
            if (value < Limits[v].Lowest || value > Limits[v].Highest) {
                inRange = false;
                break;
            }
            values[v] = value;
            hasWeight = hasWeight || v == Weight;
        }
        if (!inRange) {
            ++result.SkippedOutOfRange;
            continue;
        }
        if (!hasWeight) {
            ++result.SkippedNoWeight;
            continue;
        }
        TDayMean day;
        day.Day = when.Day;
        day.Weight = values[Weight];
        day.Fat = values[Fat];
        day.Tbw = values[Tbw];
        day.Mus = values[Mus];
        day.Bone = values[Bone];
        kept.push_back({when.Day, {day, when.Seconds}});
    }

    // Latest time of each day wins; a stable sort keeps the file order among equal times.
    std::stable_sort(kept.begin(), kept.end(), [](const auto& a, const auto& b) {
        return a.first != b.first ? a.first < b.first : a.second.Seconds < b.second.Seconds;
    });
    for (size_t i = 0; i < kept.size(); ++i)
        if (i + 1 == kept.size() || kept[i + 1].first != kept[i].first)
            result.Days.push_back(kept[i].second.Values);
    return result;
}

TCsvMeasurements ReadMeasurementCsvFile(const QString& path) {
    TCsvMeasurements result;
    const QFileInfo info(path);
    if (info.exists() && info.size() > MaxMeasurementCsvBytes) {
        result.Error = TCsvFileError::TooLarge;
        return result;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.Error = TCsvFileError::Unreadable;
        return result;
    }
    // Read one byte past the limit, so that a file that grew since it was measured is still refused.
    return ReadMeasurementCsv(file.read(MaxMeasurementCsvBytes + 1));
}
