// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QStringList>

// A component's string list as the language files see it: replaced whole from a list element,
// read back as one text with a line break after each entry. The class name of a subclass says
// which kind of list it is (TWideComboBoxStrings, TWideMemoStrings, TWideStringList).
class TStrings : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    virtual void SetStrings(const QStringList& entries) = 0;
    virtual QStringList Strings() const = 0;

    QString Text() const {
        QString text;
        for (const QString& entry : Strings())
            text += entry + QLatin1Char('\n');
        return text;
    }
};
