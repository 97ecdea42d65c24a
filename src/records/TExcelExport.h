// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QtGlobal>

class QIODevice;

// Writes a worksheet in the BIFF record format that spreadsheet programs read as .xls: a BOF
// record, text cells (LABEL records) and an EOF record. Every number in a record is a 16-bit
// little-endian word. Writing fails with AppError carrying the device's error text.
class TExcelExport {
public:
    // A cell text of more bytes does not fit the record's 16-bit length (8 + length).
    static constexpr int MaxCellTextBytes = 65527;
    // Sheet rows 1 .. 65535 below the heading row 0.
    static constexpr int MaxDataRows = 65535;
    static constexpr int BofSize = 12;
    static constexpr int EofSize = 4;
    static constexpr int LabelHeaderSize = 12;

    static void WriteBof(QIODevice& out);
    // text holds at most MaxCellTextBytes bytes (checked; AppError otherwise).
    static void WriteLabelCell(QIODevice& out, quint16 column, quint16 row, const QByteArray& text);
    static void WriteEof(QIODevice& out);
};
