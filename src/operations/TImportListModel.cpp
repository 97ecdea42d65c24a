// SPDX-License-Identifier: MIT
#include "operations/TImportListModel.h"

#include "core/Contrast.h"
#include "lang/AnsiText.h"

#include <algorithm>

namespace {

bool IsAscii(const QByteArray& text) {
    return std::all_of(text.cbegin(), text.cend(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

} // namespace

TImportListModel::TImportListModel(QObject* parent)
    : QAbstractTableModel(parent), codePage_(AnsiCodePage()) {}

QColor TImportListModel::RowBackground(int row) {
    // The tinted rows' pen colour, RGB(217, 220, 240), only ever drew the focus frame, which the
    // style draws itself.
    return row % 2 == 0 ? QColor(235, 230, 251) : QColor(Qt::white);
}

Qt::Alignment TImportListModel::ColumnAlignment(int column) {
    return (column == 0 ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter;
}

// Dates and numbers are ASCII, which every code page shares: only unit words need converting.
QByteArray TImportListModel::Encode(const QString& text) const {
    for (const QChar c : text) {
        if (c.unicode() >= 0x80)
            return ToAnsi(text, codePage_);
    }
    return text.toLatin1();
}

QString TImportListModel::Decode(const QByteArray& text) const {
    return IsAscii(text) ? QString::fromLatin1(text) : FromAnsi(text, codePage_);
}

void TImportListModel::SetCaptions(const QStringList& captions) {
    codePage_ = AnsiCodePage();
    for (int column = 0; column < ColumnCount; ++column)
        captions_[static_cast<size_t>(column)] = Encode(captions.value(column));
    emit headerDataChanged(Qt::Horizontal, 0, ColumnCount - 1);
}

void TImportListModel::Append(const std::vector<NewRow>& newRows) {
    if (newRows.empty())
        return;
    const int first = rowCount();
    beginInsertRows(QModelIndex(), first, first + static_cast<int>(newRows.size()) - 1);
    for (const NewRow& newRow : newRows) {
        Row row{newRow.Record, {}};
        for (int column = 0; column < ColumnCount; ++column)
            row.Texts[static_cast<size_t>(column)] = Encode(newRow.Texts.value(column));
        rows_.push_back(std::move(row));
    }
    endInsertRows();
}

void TImportListModel::Clear() {
    if (rows_.empty())
        return;
    beginResetModel();
    rows_.clear();
    endResetModel();
}

QString TImportListModel::CellText(int row, int column) const {
    return Decode(rows_.at(static_cast<size_t>(row)).Texts.at(static_cast<size_t>(column)));
}

int TImportListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int TImportListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant TImportListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= ColumnCount)
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return CellText(index.row(), index.column());
    case Qt::BackgroundRole:
        return RowBackground(index.row());
    case Qt::ForegroundRole:
        return TextColourOn(RowBackground(index.row()));
    case Qt::TextAlignmentRole:
        return static_cast<int>(ColumnAlignment(index.column()));
    default:
        return {};
    }
}

QVariant TImportListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole)
        return Decode(captions_[static_cast<size_t>(section)]);
    if (role == Qt::TextAlignmentRole)
        return static_cast<int>(ColumnAlignment(section));
    return {};
}
