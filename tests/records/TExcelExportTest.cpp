// SPDX-License-Identifier: MIT
#include "records/TExcelExport.h"
#include "core/AppError.h"

#include <QBuffer>
#include <gtest/gtest.h>

namespace {

QByteArray Written(const std::function<void(QBuffer&)>& write) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    write(buffer);
    return bytes;
}

TEST(TExcelExportTest, BofAndEofRecords) {
    EXPECT_EQ(Written([](QBuffer& out) { TExcelExport::WriteBof(out); }),
              QByteArray::fromHex("090808000000100000000000"));
    EXPECT_EQ(Written([](QBuffer& out) { TExcelExport::WriteEof(out); }), QByteArray::fromHex("0a000000"));
}

TEST(TExcelExportTest, CodePageRecordCarriesTheNumberLittleEndian) {
    EXPECT_EQ(Written([](QBuffer& out) { TExcelExport::WriteCodePage(out, 932); }),
              QByteArray::fromHex("42000200a403"));
    EXPECT_EQ(Written([](QBuffer& out) { TExcelExport::WriteCodePage(out, 1252); }),
              QByteArray::fromHex("42000200e404"));
}

TEST(TExcelExportTest, LabelCells) {
    struct Case {
        quint16 column;
        quint16 row;
        QByteArray text;
        QByteArray expected;
    };
    const Case cases[] = {
        // abc in row 1, column 2
        {2, 1, "abc", QByteArray::fromHex("04020b000100020000000300616263")},
        // no text: length 8 and nothing after the header
        {0, 0, "", QByteArray::fromHex("040208000000000000000000")},
        // words are little-endian: row 0x1234, column 5
        {5, 0x1234, "x", QByteArray::fromHex("040209003412050000000100") + "x"},
        // the last row a file can hold
        {0, 65535, "", QByteArray::fromHex("04020800ffff000000000000")},
        // 8-bit text goes out byte for byte
        {1, 2, "\xe9\xfc", QByteArray::fromHex("04020a000200010000000200e9fc")},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Written([&](QBuffer& out) {
                      TExcelExport::WriteLabelCell(out, c.column, c.row, c.text);
                  }).toHex(),
                  c.expected.toHex())
            << c.text.toStdString();
}

TEST(TExcelExportTest, LongestCellFillsTheLengthWordAndOneMoreByteIsRefused) {
    const QByteArray longest(TExcelExport::MaxCellTextBytes, 'a');
    const QByteArray record =
        Written([&](QBuffer& out) { TExcelExport::WriteLabelCell(out, 0, 1, longest); });
    ASSERT_EQ(record.size(), 12 + 65527);
    EXPECT_EQ(record.left(12).toHex(), QByteArray("0402ffff010000000000f7ff"));

    const QByteArray tooLong(TExcelExport::MaxCellTextBytes + 1, 'a');
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_THROW(TExcelExport::WriteLabelCell(buffer, 0, 1, tooLong), AppError);
    EXPECT_TRUE(bytes.isEmpty());
}

TEST(TExcelExportTest, WriteFailureRaisesTheDeviceError) {
    QBuffer closed;
    EXPECT_THROW(TExcelExport::WriteBof(closed), AppError);
    EXPECT_THROW(TExcelExport::WriteCodePage(closed, 1252), AppError);
    EXPECT_THROW(TExcelExport::WriteLabelCell(closed, 0, 0, "a"), AppError);
    EXPECT_THROW(TExcelExport::WriteEof(closed), AppError);
}

} // namespace
