// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QString>

// The font of a component as the language files see it ("Font"): each property reads and writes
// the component's own font (and, for Color, its text colour) at once.
class TFont : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString Name READ Name WRITE SetName)
    Q_PROPERTY(int Size READ Size WRITE SetSize)
    Q_PROPERTY(TFontStyles Style READ Style WRITE SetStyle)
    Q_PROPERTY(QString Color READ Color WRITE SetColor)
public:
    enum TFontStyle { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
    Q_DECLARE_FLAGS(TFontStyles, TFontStyle)
    Q_FLAG(TFontStyles)

    // component has a "font" property; the adapter becomes its child.
    explicit TFont(QObject* component);

    QString Name() const;
    void SetName(const QString& family);
    int Size() const; // points
    void SetSize(int points);
    TFontStyles Style() const;
    void SetStyle(TFontStyles style);
    QString Color() const; // "#rrggbb"
    // Any colour name Qt understands ("#336699", "navy"); an unknown one is ignored.
    void SetColor(const QString& color);

private:
    QObject* component_;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(TFont::TFontStyles)
