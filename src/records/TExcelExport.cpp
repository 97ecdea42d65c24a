// SPDX-License-Identifier: MIT
#include "records/TExcelExport.h"

#include "core/AppError.h"

#include <QIODevice>

namespace {

void putWord(char* at, quint16 value) {
    at[0] = static_cast<char>(value & 0xFF);
    at[1] = static_cast<char>(value >> 8);
}

void writeAll(QIODevice& out, const char* data, qint64 size) {
    if (size > 0 && out.write(data, size) != size)
        throw AppError(out.errorString());
}

} // namespace

void TExcelExport::WriteBof(QIODevice& out) {
    // Type 0x0809, length 8; version 0, sheet type 0x0010 (worksheet), two words 0.
    static const char bof[BofSize] = {0x09, 0x08, 0x08, 0x00, 0x00, 0x00, 0x10, 0x00, 0x00, 0x00, 0x00, 0x00};
    writeAll(out, bof, BofSize);
}

void TExcelExport::WriteCodePage(QIODevice& out, quint16 codePage) {
    // Without it readers take the texts for Western ones (1252) whatever they are.
    char record[CodePageSize];
    putWord(record + 0, 0x0042); // CODEPAGE
    putWord(record + 2, 2);
    putWord(record + 4, codePage);
    writeAll(out, record, CodePageSize);
}

void TExcelExport::WriteLabelCell(QIODevice& out, quint16 column, quint16 row, const QByteArray& text) {
    if (text.size() > MaxCellTextBytes)
        throw AppError(
            QStringLiteral("A spreadsheet cell holds at most %1 bytes of text").arg(MaxCellTextBytes));
    const auto length = static_cast<quint16>(text.size());
    char header[LabelHeaderSize];
    putWord(header + 0, 0x0204);                           // LABEL
    putWord(header + 2, static_cast<quint16>(8 + length)); // record length after this word
    putWord(header + 4, row);
    putWord(header + 6, column);
    putWord(header + 8, 0); // format index
    putWord(header + 10, length);
    writeAll(out, header, LabelHeaderSize);
    writeAll(out, text.constData(), length);
}

void TExcelExport::WriteEof(QIODevice& out) {
    static const char eof[EofSize] = {0x0A, 0x00, 0x00, 0x00};
    writeAll(out, eof, EofSize);
}

void TExcelExport::WriteSheet(QIODevice& out, quint16 codePage, int rows,
                              const std::function<void(int row, QList<QByteArray>& cells)>& cellsOf) {
    WriteBof(out);
    WriteCodePage(out, codePage);
    QList<QByteArray> cells;
    for (int row = 0; row < rows; ++row) {
        cells.clear();
        cellsOf(row, cells);
        for (qsizetype column = 0; column < cells.size(); ++column)
            WriteLabelCell(out, static_cast<quint16>(column), static_cast<quint16>(row), cells[column]);
    }
    WriteEof(out);
}
