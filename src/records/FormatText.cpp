// SPDX-License-Identifier: MIT
#include "records/FormatText.h"

#include "lang/LangMgr.h"

#include <QDir>
#include <variant>

namespace {

using Argument = std::variant<int, QString>;

// Reads decimal digits at format[pos]; -1 when there are none.
int readNumber(const QString& format, qsizetype& pos) {
    int number = -1;
    while (pos < format.size() && format[pos].isDigit() && format[pos].unicode() < 128) {
        number = (number < 0 ? 0 : number) * 10 + (format[pos].unicode() - '0');
        if (number > 1000000) // a width this large is never meant
            return -2;
        ++pos;
    }
    return number;
}

std::optional<QString> convert(QChar type, int precision, const Argument& argument) {
    const char kind = static_cast<char>(type.toLower().unicode());
    if (const int* value = std::get_if<int>(&argument)) {
        QString digits;
        if (kind == 'd')
            digits = QString::number(qAbs(static_cast<qint64>(*value)));
        else if (kind == 'u')
            digits = QString::number(static_cast<quint32>(*value));
        else if (kind == 'x')
            digits = QString::number(static_cast<quint32>(*value), 16).toUpper();
        else
            return std::nullopt;
        if (precision > digits.size())
            digits = QString(precision - digits.size(), QLatin1Char('0')) + digits;
        if (kind == 'd' && *value < 0)
            digits.prepend(QLatin1Char('-'));
        return digits;
    }
    if (kind != 's')
        return std::nullopt;
    const QString& text = std::get<QString>(argument);
    return precision >= 0 ? text.left(precision) : text;
}

std::optional<QString> formatWith(const QString& format, const Argument& argument) {
    QString result;
    result.reserve(format.size() + 16);
    int nextArgument = 0;
    qsizetype pos = 0;
    while (pos < format.size()) {
        const QChar c = format[pos++];
        if (c != QLatin1Char('%')) {
            result.append(c);
            continue;
        }
        if (pos < format.size() && format[pos] == QLatin1Char('%')) {
            result.append(QLatin1Char('%'));
            ++pos;
            continue;
        }
        int number = readNumber(format, pos);
        if (number >= 0 && pos < format.size() && format[pos] == QLatin1Char(':')) {
            nextArgument = number;
            ++pos;
            number = -1;
        }
        bool leftAligned = false;
        if (number < 0 && pos < format.size() && format[pos] == QLatin1Char('-')) {
            leftAligned = true;
            ++pos;
        }
        const int width = number >= 0 ? number : readNumber(format, pos);
        int precision = -1;
        if (pos < format.size() && format[pos] == QLatin1Char('.')) {
            ++pos;
            precision = readNumber(format, pos);
            if (precision < 0)
                return std::nullopt;
        }
        if (width < -1 || pos >= format.size() || nextArgument != 0)
            return std::nullopt;
        std::optional<QString> converted = convert(format[pos++], precision, argument);
        if (!converted)
            return std::nullopt;
        ++nextArgument;
        if (width > converted->size()) {
            const QString fill(width - converted->size(), QLatin1Char(' '));
            converted = leftAligned ? *converted + fill : fill + *converted;
        }
        result.append(*converted);
    }
    return result;
}

} // namespace

std::optional<QString> FormatWithInteger(const QString& format, int value) {
    return formatWith(format, value);
}

std::optional<QString> FormatWithText(const QString& format, const QString& text) {
    return formatWith(format, text);
}

QString TextWith(const char* key, const QString& value) {
    return FormatWithText(GetText(key), value).value_or(value);
}

QString TextWith(const char* key, int value) {
    return FormatWithInteger(GetText(key), value).value_or(QString::number(value));
}

QString TextWithPath(const char* key, const QString& path) {
    const QString text = GetText(key);
    const QString shown = QDir::toNativeSeparators(path);
    return FormatWithText(text, shown).value_or(text + QLatin1Char(' ') + shown);
}
