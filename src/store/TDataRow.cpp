// SPDX-License-Identifier: MIT
#include "store/TDataRow.h"

#include "store/ValueFormats.h"

#include <QByteArray>
#include <limits>
#include <stdexcept>

namespace {

QString TextOf(const QVariant& value) {
    switch (value.typeId()) {
    case QMetaType::QByteArray:
        return QString::fromUtf8(value.toByteArray());
    case QMetaType::Double:
        return DecimalText(value.toDouble());
    default:
        return value.toString();
    }
}

int IntegerOf(const QVariant& value) {
    switch (value.typeId()) {
    case QMetaType::LongLong:
    case QMetaType::Int: {
        const qlonglong number = value.toLongLong();
        const bool fits =
            number >= std::numeric_limits<int>::min() && number <= std::numeric_limits<int>::max();
        return fits ? static_cast<int>(number) : 0;
    }
    case QMetaType::Double: {
        const double number = value.toDouble();
        const bool fits =
            number >= std::numeric_limits<int>::min() && number <= std::numeric_limits<int>::max();
        return fits ? static_cast<int>(number) : 0;
    }
    default: {
        bool ok = false;
        const int number = TextOf(value).trimmed().toInt(&ok);
        return ok ? number : 0;
    }
    }
}

} // namespace

int TDataRow::Columns::IndexOf(const QString& name) const {
    for (size_t i = 0; i < names.size(); ++i)
        if (names[i].compare(name, Qt::CaseInsensitive) == 0)
            return static_cast<int>(i);
    return -1;
}

TDataRow::TDataRow(std::shared_ptr<const Columns> columns, std::vector<QVariant> values)
    : columns_(std::move(columns)), values_(std::move(values)) {}

size_t TDataRow::IndexOrThrow(const QString& column) const {
    const int index = columns_->IndexOf(column);
    if (index < 0)
        throw std::invalid_argument("no column " + column.toStdString() + " in this row");
    return static_cast<size_t>(index);
}

bool TDataRow::IsIntegerColumn(size_t index) const {
    return columns_->declaredTypes[index].contains(QLatin1String("INT"), Qt::CaseInsensitive);
}

QString TDataRow::AsString(const QString& column) const {
    const size_t index = IndexOrThrow(column);
    const QVariant& value = values_[index];
    if (value.isNull())
        return QString();
    if (IsIntegerColumn(index))
        return QString::number(IntegerOf(value));
    return TextOf(value);
}

int TDataRow::AsInteger(const QString& column) const {
    return IntegerOf(values_[IndexOrThrow(column)]);
}

double TDataRow::AsFloat(const QString& column) const {
    const QVariant& value = values_[IndexOrThrow(column)];
    switch (value.typeId()) {
    case QMetaType::LongLong:
    case QMetaType::Int:
    case QMetaType::Double:
        return value.toDouble();
    default:
        return DecimalFromText(TextOf(value));
    }
}

QDate TDataRow::AsDate(const QString& column) const {
    return DateFromText(TextOf(values_[IndexOrThrow(column)]));
}

bool TDataRow::IsNull(const QString& column) const {
    return values_[IndexOrThrow(column)].isNull();
}

QVariant TDataRow::Value(const QString& column) const {
    return values_[IndexOrThrow(column)];
}

void TDataRow::SetValue(const QString& column, const QVariant& value) {
    values_[IndexOrThrow(column)] = value;
}
