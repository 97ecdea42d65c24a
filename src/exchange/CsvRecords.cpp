// SPDX-License-Identifier: MIT
#include "exchange/CsvRecords.h"

std::optional<std::vector<TCsvRecord>> ParseCsvRecords(QStringView text) {
    std::vector<TCsvRecord> records;
    TCsvRecord record;
    QString field;
    const qsizetype size = text.size();
    qsizetype at = 0;

    auto endRecord = [&] {
        record.push_back(field);
        field.clear();
        // A blank line is a record of one empty field: nothing to keep.
        const size_t fields = record.size();
        if (!(fields == 1 && record.front().isEmpty()))
            records.push_back(std::move(record));
        record.clear();
        record.reserve(fields);
    };

    while (at < size) {
        if (text[at] == u'"' && field.isEmpty()) {
            // A quoted field: up to the quote that is not doubled.
            ++at;
            for (;;) {
                if (at >= size)
                    return std::nullopt;
                if (text[at] == u'"') {
                    if (at + 1 < size && text[at + 1] == u'"') {
                        field.append(u'"');
                        at += 2;
                        continue;
                    }
                    ++at;
                    break;
                }
                field.append(text[at++]);
            }
            if (at < size && text[at] != u',' && text[at] != u'\r' && text[at] != u'\n')
                return std::nullopt;
            continue;
        }
        const QChar c = text[at];
        if (c == u',') {
            record.push_back(field);
            field.clear();
            ++at;
        } else if (c == u'\r' && at + 1 < size && text[at + 1] == u'\n') {
            endRecord();
            at += 2;
        } else if (c == u'\n') {
            endRecord();
            ++at;
        } else if (c == u'"') {
            return std::nullopt;
        } else {
            // Copy the plain run up to the next special character at once.
            qsizetype end = at + 1;
            while (end < size && text[end] != u',' && text[end] != u'\n' && text[end] != u'\r' &&
                   text[end] != u'"')
                ++end;
            field.append(text.mid(at, end - at));
            at = end;
        }
    }
    if (!field.isEmpty() || !record.empty())
        endRecord();
    return records;
}
