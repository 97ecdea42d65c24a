// SPDX-License-Identifier: MIT
#include "records/TMeasurementListModel.h"

#include "core/Contrast.h"
#include "lang/AnsiText.h"

#include <algorithm>

namespace {

bool isAscii(const QByteArray& text) {
    return std::all_of(text.cbegin(), text.cend(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

} // namespace

TMeasurementListModel::RowColours TMeasurementListModel::RowColoursOf(int row) {
    if (row % 2 == 0)
        return {QColor(235, 230, 251), QColor(217, 220, 240)};
    return {QColor(255, 255, 255), QColor(255, 255, 255)};
}

TMeasurementListModel::TMeasurementListModel(QObject* parent) : QAbstractTableModel(parent) {
    captions_ = {"Measuring Date", "Weight", "FAT %", "TBW %", "MUS %", "BONE"};
}

void TMeasurementListModel::SetColumnCaptions(const Cells& captions, int codePage) {
    captions_ = captions;
    captionsCodePage_ = codePage;
    emit headerDataChanged(Qt::Horizontal, 0, ColumnCount - 1);
}

void TMeasurementListModel::SetRows(std::vector<Row> rows, int codePage) {
    beginResetModel();
    rows_ = std::move(rows);
    rowsCodePage_ = codePage;
    endResetModel();
}

void TMeasurementListModel::Clear() {
    SetRows({}, rowsCodePage_);
}

void TMeasurementListModel::RemoveListRow(int row) {
    if (row < 0 || row >= rowCount())
        return;
    beginRemoveRows(QModelIndex(), row, row);
    rows_.erase(rows_.begin() + row);
    endRemoveRows();
    // Rows below moved up by one, so their tint alternates the other way now.
    if (row < rowCount())
        emit dataChanged(index(row, 0), index(rowCount() - 1, ColumnCount - 1),
                         {Qt::BackgroundRole, Qt::ForegroundRole});
}

const QByteArray& TMeasurementListModel::Cell(int row, int column) const {
    return ListRow(row).Texts.at(static_cast<size_t>(column));
}

QByteArray TMeasurementListModel::CellIn(int row, int column, int codePage) const {
    const QByteArray& text = Cell(row, column);
    if (codePage == rowsCodePage_ || isAscii(text))
        return text;
    return ToAnsi(FromAnsi(text, rowsCodePage_), codePage);
}

int TMeasurementListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int TMeasurementListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant TMeasurementListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= ColumnCount)
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return Decode(Cell(index.row(), index.column()), rowsCodePage_);
    case Qt::BackgroundRole:
        return RowColoursOf(index.row()).Background;
    case Qt::ForegroundRole:
        return TextColourOn(RowColoursOf(index.row()).Background);
    case Qt::TextAlignmentRole:
        return static_cast<int>(AlignmentOf(index.column()));
    case Qt::UserRole:
        return ListRow(index.row()).Id;
    default:
        return {};
    }
}

QVariant TMeasurementListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole)
        return Decode(Caption(section), captionsCodePage_);
    if (role == Qt::TextAlignmentRole)
        return static_cast<int>(AlignmentOf(section));
    return {};
}

QString TMeasurementListModel::Decode(const QByteArray& text, int codePage) const {
    // Dates and numbers are plain ASCII, which every Windows code page shares.
    return isAscii(text) ? QString::fromLatin1(text) : FromAnsi(text, codePage);
}

Qt::Alignment TMeasurementListModel::AlignmentOf(int column) {
    return (column == 0 ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter;
}
