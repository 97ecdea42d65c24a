// SPDX-License-Identifier: MIT
#pragma once

#include "scale/MeasurementRecord.h"

#include <QAbstractTableModel>
#include <QByteArray>
#include <QColor>
#include <QStringList>
#include <array>
#include <vector>

// The rows of the import list: one per measurement read, each owning its MeasurementRecord. Cells
// and captions are 8-bit text in the code page of the current language, as list cells always are;
// they are decoded only for display, so what that code page lacks shows as '?'.
class TImportListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int ColumnCount = 6;
    using Cells = std::array<QByteArray, ColumnCount>;

    struct Row {
        MeasurementRecord Record;
        Cells Texts;
    };

    explicit TImportListModel(QObject* parent = nullptr);

    // Even rows (from 0) are tinted, odd rows white; selected rows are drawn as the style draws them.
    static QColor RowBackground(int row);
    static Qt::Alignment ColumnAlignment(int column);

    void SetCaptions(const QStringList& captions);
    // A measurement with its cell texts, as the dialog composed them.
    struct NewRow {
        MeasurementRecord Record;
        QStringList Texts;
    };
    // Appends the rows in one insertion: a view repaints once for all of them.
    void Append(const std::vector<NewRow>& newRows);
    void Clear();

    const std::vector<Row>& Rows() const { return rows_; }
    // A cell as the list shows it.
    QString CellText(int row, int column) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QByteArray Encode(const QString& text) const;
    QString Decode(const QByteArray& text) const;

    std::vector<Row> rows_;
    Cells captions_;
    int codePage_;
};
