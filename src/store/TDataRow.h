// SPDX-License-Identifier: MIT
#pragma once

#include <QDate>
#include <QString>
#include <QVariant>
#include <memory>
#include <vector>

// One row of a query result, read by column name (without regard to case). Values are kept as the
// engine stored them: a null QVariant for NULL, qlonglong, double, QString (text) or QByteArray
// (blob), so that a row written back carries every untouched column unchanged.
//
// Columns are interpreted by their declared type: an INTEGER column reads as a 32-bit integer
// (text that is not a number reads 0), a DATE column as a yyyy-mm-dd date, everything else as text.
class TDataRow {
public:
    struct Columns {
        std::vector<QString> names;
        std::vector<QString> declaredTypes;     // as written in the table definition; empty for expressions
        int IndexOf(const QString& name) const; // -1 when there is no such column
    };

    TDataRow(std::shared_ptr<const Columns> columns, std::vector<QVariant> values);

    QString AsString(const QString& column) const;
    int AsInteger(const QString& column) const;
    double AsFloat(const QString& column) const; // text may use "." or ","; 0 when not a number
    QDate AsDate(const QString& column) const;   // invalid when the text is not yyyy-mm-dd
    bool IsNull(const QString& column) const;

    // The value as stored, and its replacement before the row is written back.
    QVariant Value(const QString& column) const;
    void SetValue(const QString& column, const QVariant& value);

    int ColumnCount() const { return static_cast<int>(columns_->names.size()); }
    QString ColumnName(int index) const { return columns_->names.at(static_cast<size_t>(index)); }
    QVariant ValueAt(int index) const { return values_.at(static_cast<size_t>(index)); }

private:
    size_t IndexOrThrow(const QString& column) const;
    bool IsIntegerColumn(size_t index) const;

    std::shared_ptr<const Columns> columns_;
    std::vector<QVariant> values_;
};

// The rows of a select, in the order the statement gives; empty() is the "no row at all" test.
using TRowSet = std::vector<TDataRow>;
