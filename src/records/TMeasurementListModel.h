// SPDX-License-Identifier: MIT
#pragma once

#include "core/DayMean.h"

#include <QAbstractTableModel>
#include <QByteArray>
#include <QColor>
#include <array>
#include <vector>

// The rows of the measurement list. Every caption and cell is 8-bit text in the Windows code page
// of the language that was current when it was put in, so that the list and the exported
// spreadsheet hold the very same bytes; it is decoded with that code page only for display.
class TMeasurementListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int ColumnCount = 6;
    using Cells = std::array<QByteArray, ColumnCount>;

    struct Row {
        Cells Texts;
        int Id = 0;      // P_DATA.ID
        TDayMean Values; // the stored values the texts show, in kg and per cent
    };

    // The colours a row is drawn in unless it is selected: even rows (from 0) tinted, odd rows white.
    struct RowColours {
        QColor Background;
        QColor Pen;
    };
    static RowColours RowColoursOf(int row);

    explicit TMeasurementListModel(QObject* parent = nullptr);

    void SetColumnCaptions(const Cells& captions, int codePage);
    void SetRows(std::vector<Row> rows, int codePage);
    void Clear();
    void RemoveListRow(int row);

    const Row& ListRow(int row) const { return rows_.at(static_cast<size_t>(row)); }
    const QByteArray& Cell(int row, int column) const;
    const QByteArray& Caption(int column) const { return captions_.at(static_cast<size_t>(column)); }
    // The cell's text as the list shows it, in codePage: the very bytes listed when the list was
    // filled in that code page, otherwise converted (characters codePage lacks become '?').
    QByteArray CellIn(int row, int column, int codePage) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QString Decode(const QByteArray& text, int codePage) const;
    static Qt::Alignment AlignmentOf(int column);

    std::vector<Row> rows_;
    int rowsCodePage_ = 1252;
    Cells captions_;
    int captionsCodePage_ = 1252;
};
