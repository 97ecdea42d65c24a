// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QList>
#include <QtGlobal>
#include <functional>

class QIODevice;

// Writes a worksheet in the BIFF record format that spreadsheet programs read as .xls: a BOF
// record, a CODEPAGE record naming the Windows code page of every text in the file, text cells
// (LABEL records) and an EOF record. Every number in a record is a 16-bit little-endian word.
// A sheet of n data rows is CodePageSize + BofSize + EofSize + 72 * (n + 1) bytes (a 12-byte
// header per cell) plus its text bytes. Writing fails with AppError carrying the device's error text.
class TExcelExport {
public:
    // A cell text of more bytes does not fit the record's 16-bit length (8 + length).
    static constexpr int MaxCellTextBytes = 65527;
    // Sheet rows 1 .. 65535 below the heading row 0.
    static constexpr int MaxDataRows = 65535;
    static constexpr int BofSize = 12;
    static constexpr int CodePageSize = 6;
    static constexpr int EofSize = 4;
    static constexpr int LabelHeaderSize = 12;

    static void WriteBof(QIODevice& out);
    // codePage: the Windows code page number (1252, 932, 936 ...) the cell texts are written in.
    static void WriteCodePage(QIODevice& out, quint16 codePage);
    // text holds at most MaxCellTextBytes bytes (checked; AppError otherwise).
    static void WriteLabelCell(QIODevice& out, quint16 column, quint16 row, const QByteArray& text);
    static void WriteEof(QIODevice& out);

    // A whole sheet: BOF, CODEPAGE, the cell texts of rows 0 .. rows - 1 in codePage, EOF. cellsOf
    // fills the (emptied) list with a row's texts, column 0 first. rows is at most MaxDataRows + 1.
    static void WriteSheet(QIODevice& out, quint16 codePage, int rows,
                           const std::function<void(int row, QList<QByteArray>& cells)>& cellsOf);
};
