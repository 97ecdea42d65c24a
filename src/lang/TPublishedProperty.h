// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QMetaProperty>
#include <QString>

class QObject;

// The kinds of property that window translation tells apart.
enum class TPropKind { Integer, Enumeration, Set, AnsiText, WideText, Object, Other };

// A property of a window or component as a language file names it. The file's own names
// (Caption, Hint, Text, Items, Lines, Font, Columns; see docs/language-files.md) are looked up
// first; every other name is a Qt property of the object, letter case ignored. Items, Lines, Font
// and Columns are object properties whose objects are small adapters owned by the component.
class TPublishedProperty {
public:
    TPublishedProperty() = default; // invalid

    // The property name means on object; invalid when object has none of that name.
    static TPublishedProperty Find(QObject* object, const QString& name);

    bool IsValid() const { return object_ != nullptr; }
    TPropKind Kind() const { return kind_; }
    bool IsWritable() const;

    // Object kind: the object the property holds, or none.
    QObject* ReadObject() const;
    // Integer, enumeration and set kinds: the number, the enumeration's value, the set's bit mask
    // (a boolean takes any non-zero number as true).
    bool WriteNumber(int value) const;
    // 8-bit and wide text kinds.
    bool WriteAnsiText(const QByteArray& value) const;
    bool WriteWideText(const QString& value) const;
    // The general setter: converts text to the property's type (a whole number, a decimal number,
    // an enumeration member's name or number, a set as comma-separated member names with optional
    // brackets, true/false, the text itself; 8-bit text in ansiCodePage). False when it does not
    // convert or cannot be written.
    bool WriteText(const QString& text, int ansiCodePage) const;

private:
    enum class Adapter { None, ComboBoxStrings, ListStrings, MemoStrings, Font, Columns };

    TPublishedProperty(QObject* object, QMetaProperty meta);
    TPublishedProperty(QObject* object, Adapter adapter);

    bool Write(QVariant value) const;

    QObject* object_ = nullptr;
    QMetaProperty meta_;
    Adapter adapter_ = Adapter::None;
    TPropKind kind_ = TPropKind::Other;
};
