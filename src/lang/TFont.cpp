// SPDX-License-Identifier: MIT
#include "lang/TFont.h"

#include <QColor>
#include <QFont>
#include <QPalette>
#include <QVariant>
#include <QWidget>

namespace {

QFont FontOf(const QObject* component) {
    return component->property("font").value<QFont>();
}

} // namespace

TFont::TFont(QObject* component) : QObject(component), component_(component) {}

QString TFont::Name() const {
    return FontOf(component_).family();
}

void TFont::SetName(const QString& family) {
    QFont font = FontOf(component_);
    font.setFamily(family);
    component_->setProperty("font", font);
}

int TFont::Size() const {
    return FontOf(component_).pointSize();
}

void TFont::SetSize(int points) {
    if (points <= 0)
        return;
    QFont font = FontOf(component_);
    font.setPointSize(points);
    component_->setProperty("font", font);
}

TFont::TFontStyles TFont::Style() const {
    const QFont font = FontOf(component_);
    TFontStyles style;
    style.setFlag(fsBold, font.bold());
    style.setFlag(fsItalic, font.italic());
    style.setFlag(fsUnderline, font.underline());
    style.setFlag(fsStrikeOut, font.strikeOut());
    return style;
}

void TFont::SetStyle(TFontStyles style) {
    QFont font = FontOf(component_);
    font.setBold(style.testFlag(fsBold));
    font.setItalic(style.testFlag(fsItalic));
    font.setUnderline(style.testFlag(fsUnderline));
    font.setStrikeOut(style.testFlag(fsStrikeOut));
    component_->setProperty("font", font);
}

QString TFont::Color() const {
    if (auto* widget = qobject_cast<QWidget*>(component_))
        return widget->palette().color(QPalette::WindowText).name();
    return QString();
}

void TFont::SetColor(const QString& color) {
    auto* widget = qobject_cast<QWidget*>(component_);
    const QColor value = QColor::fromString(color);
    if (!widget || !value.isValid())
        return;
    QPalette palette = widget->palette();
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(role, value);
    widget->setPalette(palette);
}
