// SPDX-License-Identifier: MIT
#include "lang/TPublishedProperty.h"

#include "lang/AnsiText.h"
#include "lang/TFont.h"
#include "lang/TListColumns.h"
#include "lang/TWideComboBoxStrings.h"
#include "lang/TWideMemoStrings.h"
#include "lang/TWideStringList.h"

#include <QComboBox>
#include <QListWidget>
#include <QMetaEnum>
#include <QObject>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QVariant>
#include <initializer_list>

namespace {

QMetaProperty PropertyNamed(const QObject* object, const QString& name) {
    const QMetaObject* meta = object->metaObject();
    for (int i = 0; i < meta->propertyCount(); ++i) {
        const QMetaProperty property = meta->property(i);
        if (name.compare(QLatin1String(property.name()), Qt::CaseInsensitive) == 0)
            return property;
    }
    return QMetaProperty();
}

// The first of the given Qt property names that object has.
QMetaProperty FirstPropertyOf(const QObject* object, std::initializer_list<const char*> names) {
    const QMetaObject* meta = object->metaObject();
    for (const char* name : names) {
        const int index = meta->indexOfProperty(name);
        if (index >= 0)
            return meta->property(index);
    }
    return QMetaProperty();
}

TPropKind KindOf(const QMetaProperty& property) {
    if (property.isFlagType())
        return TPropKind::Set;
    if (property.isEnumType())
        return TPropKind::Enumeration;
    switch (property.metaType().id()) {
    case QMetaType::Bool: // an enumeration of two members
        return TPropKind::Enumeration;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Short:
    case QMetaType::UShort:
        return TPropKind::Integer;
    case QMetaType::QByteArray:
        return TPropKind::AnsiText;
    case QMetaType::QString:
        return TPropKind::WideText;
    default:
        break;
    }
    if (property.metaType().flags() & QMetaType::PointerToQObject)
        return TPropKind::Object;
    return TPropKind::Other;
}

template <typename TAdapter, typename TTarget> QObject* AdapterOf(TTarget* target) {
    if (auto* existing = target->template findChild<TAdapter*>(QString(), Qt::FindDirectChildrenOnly))
        return existing;
    return new TAdapter(target);
}

bool ParseInt(const QString& text, int* value) {
    bool ok = false;
    *value = text.trimmed().toInt(&ok, 10);
    return ok;
}

// An enumeration member by name, letter case ignored, or by number.
bool ParseEnumMember(const QMetaEnum& enumerator, const QString& text, int* value) {
    const QString name = text.trimmed();
    if (ParseInt(name, value))
        return true;
    for (int i = 0; i < enumerator.keyCount(); ++i) {
        if (name.compare(QLatin1String(enumerator.key(i)), Qt::CaseInsensitive) == 0) {
            *value = enumerator.value(i);
            return true;
        }
    }
    return false;
}

// "[fsBold, fsItalic]", "fsBold,fsItalic", "[]" or a bit mask.
bool ParseSet(const QMetaEnum& enumerator, const QString& text, int* value) {
    QString members = text.trimmed();
    if (ParseInt(members, value))
        return true;
    if (members.startsWith(QLatin1Char('[')) && members.endsWith(QLatin1Char(']')))
        members = members.mid(1, members.size() - 2);
    *value = 0;
    if (members.trimmed().isEmpty())
        return true;
    for (const QString& member : members.split(QLatin1Char(','))) {
        int bit = 0;
        if (!ParseEnumMember(enumerator, member, &bit))
            return false;
        *value |= bit;
    }
    return true;
}

bool ParseBool(const QString& text, bool* value) {
    const QString word = text.trimmed();
    int number = 0;
    if (ParseInt(word, &number))
        *value = number != 0;
    else if (word.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
        *value = true;
    else if (word.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
        *value = false;
    else
        return false;
    return true;
}

bool ParseDouble(const QString& text, double* value) {
    bool ok = false;
    *value = QString(text.trimmed()).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
    return ok;
}

} // namespace

TPublishedProperty::TPublishedProperty(QObject* object, QMetaProperty meta)
    : object_(meta.isValid() ? object : nullptr), meta_(meta), kind_(KindOf(meta)) {}

TPublishedProperty::TPublishedProperty(QObject* object, Adapter adapter)
    : object_(object), adapter_(adapter), kind_(TPropKind::Object) {}

TPublishedProperty TPublishedProperty::Find(QObject* object, const QString& name) {
    if (!object)
        return TPublishedProperty();
    const auto is = [&name](const char* alias) {
        return name.compare(QLatin1String(alias), Qt::CaseInsensitive) == 0;
    };
    QMetaProperty aliased;
    if (is("Caption"))
        aliased = FirstPropertyOf(object, {"text", "title", "windowTitle"});
    else if (is("Hint"))
        aliased = FirstPropertyOf(object, {"toolTip"});
    else if (is("Text"))
        aliased = FirstPropertyOf(object, {"text", "plainText", "currentText"});
    else if (is("Items") && qobject_cast<QComboBox*>(object))
        return TPublishedProperty(object, Adapter::ComboBoxStrings);
    else if (is("Items") && qobject_cast<QListWidget*>(object))
        return TPublishedProperty(object, Adapter::ListStrings);
    else if (is("Lines") && (qobject_cast<QPlainTextEdit*>(object) || qobject_cast<QTextEdit*>(object)))
        return TPublishedProperty(object, Adapter::MemoStrings);
    else if (is("Font") && object->metaObject()->indexOfProperty("font") >= 0)
        return TPublishedProperty(object, Adapter::Font);
    else if (is("Columns") && qobject_cast<QAbstractItemView*>(object))
        return TPublishedProperty(object, Adapter::Columns);
    if (aliased.isValid())
        return TPublishedProperty(object, aliased);
    return TPublishedProperty(object, PropertyNamed(object, name));
}

bool TPublishedProperty::IsWritable() const {
    return IsValid() && adapter_ == Adapter::None && meta_.isWritable();
}

QObject* TPublishedProperty::ReadObject() const {
    if (kind_ != TPropKind::Object)
        return nullptr;
    switch (adapter_) {
    case Adapter::ComboBoxStrings:
        return AdapterOf<TWideComboBoxStrings>(static_cast<QComboBox*>(object_));
    case Adapter::ListStrings:
        return AdapterOf<TWideStringList>(static_cast<QListWidget*>(object_));
    case Adapter::MemoStrings:
        return AdapterOf<TWideMemoStrings>(static_cast<QWidget*>(object_));
    case Adapter::Font:
        return AdapterOf<TFont>(object_);
    case Adapter::Columns:
        return AdapterOf<TListColumns>(static_cast<QAbstractItemView*>(object_));
    case Adapter::None:
        break;
    }
    return meta_.read(object_).value<QObject*>();
}

bool TPublishedProperty::Write(QVariant value) const {
    if (!IsWritable())
        return false;
    const QMetaType type = meta_.metaType();
    if (value.metaType() != type && !value.convert(type))
        return false;
    return meta_.write(object_, value);
}

bool TPublishedProperty::WriteNumber(int value) const {
    switch (kind_) {
    case TPropKind::Integer:
        return Write(QVariant(value));
    case TPropKind::Enumeration:
    case TPropKind::Set:
        if (meta_.metaType().id() == QMetaType::Bool)
            return Write(QVariant(value != 0));
        // An enumeration object may only hold one of its members; any other number is passed over.
        if (kind_ == TPropKind::Enumeration && meta_.isEnumType() && !meta_.enumerator().valueToKey(value))
            return false;
        // Enumerations and flags are stored as an int; build the value of the property's own type.
        if (meta_.metaType().sizeOf() == int(sizeof(int)))
            return Write(QVariant(meta_.metaType(), &value));
        return Write(QVariant(value));
    default:
        return false;
    }
}

bool TPublishedProperty::WriteAnsiText(const QByteArray& value) const {
    return kind_ == TPropKind::AnsiText && Write(QVariant(value));
}

bool TPublishedProperty::WriteWideText(const QString& value) const {
    return kind_ == TPropKind::WideText && Write(QVariant(value));
}

bool TPublishedProperty::WriteText(const QString& text, int ansiCodePage) const {
    if (!IsWritable())
        return false;
    int number = 0;
    switch (kind_) {
    case TPropKind::Set:
        return ParseSet(meta_.enumerator(), text, &number) && WriteNumber(number);
    case TPropKind::Enumeration:
        if (meta_.metaType().id() == QMetaType::Bool) {
            bool flag = false;
            return ParseBool(text, &flag) && Write(QVariant(flag));
        }
        return ParseEnumMember(meta_.enumerator(), text, &number) && WriteNumber(number);
    case TPropKind::Integer:
        return ParseInt(text, &number) && WriteNumber(number);
    case TPropKind::AnsiText:
        return WriteAnsiText(ToAnsi(text, ansiCodePage));
    case TPropKind::WideText:
        return WriteWideText(text);
    case TPropKind::Object:
        return false;
    case TPropKind::Other:
        break;
    }
    switch (meta_.metaType().id()) {
    case QMetaType::Double:
    case QMetaType::Float: {
        double value = 0;
        return ParseDouble(text, &value) && Write(QVariant(value));
    }
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
    case QMetaType::QChar:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong: {
        bool ok = false;
        const qlonglong value = text.trimmed().toLongLong(&ok, 10);
        return ok && Write(QVariant(value));
    }
    default:
        // Colours, sizes and the like: whatever Qt itself converts from text.
        return Write(QVariant(text));
    }
}
