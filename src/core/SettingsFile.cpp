// SPDX-License-Identifier: MIT
#include "core/SettingsFile.h"

#include "core/AppError.h"

#include <QFile>
#include <QSaveFile>
#include <QStringList>
#include <optional>

namespace {

// The lines of the file; none when it is missing. An existing file that cannot be read yields
// nullopt, so that a writer never replaces settings it could not see.
std::optional<QStringList> readLines(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QFile::exists(path) ? std::nullopt : std::make_optional(QStringList());
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    QString text = QString::fromUtf8(bytes);
    // Decoding drops one byte order mark and writing writes none, so a second one (an editor adding
    // its own) must go too, or the first line would change meaning when the file is written back.
    while (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    QStringList lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.back().isEmpty())
        lines.removeLast();
    return lines;
}

std::optional<QString> sectionName(const QString& line) {
    const QString trimmed = line.trimmed();
    if (trimmed.startsWith(QLatin1Char('[')) && trimmed.contains(QLatin1Char(']')))
        return trimmed.mid(1, trimmed.indexOf(QLatin1Char(']')) - 1).trimmed();
    return std::nullopt;
}

bool sameName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// The key and value of a key=value line; comments and lines without "=" have none.
std::optional<std::pair<QString, QString>> entry(const QString& line) {
    const QString trimmed = line.trimmed();
    const qsizetype equals = trimmed.indexOf(QLatin1Char('='));
    if (equals <= 0 || trimmed.startsWith(QLatin1Char(';')))
        return std::nullopt;
    return std::make_pair(trimmed.left(equals).trimmed(), trimmed.mid(equals + 1).trimmed());
}

} // namespace

QString ReadIniString(const QString& path, const QString& section, const QString& key,
                      const QString& defaultValue) {
    bool inSection = false;
    for (const QString& line : readLines(path).value_or(QStringList())) {
        if (const auto name = sectionName(line)) {
            inSection = sameName(*name, section);
        } else if (inSection) {
            if (const auto keyValue = entry(line); keyValue && sameName(keyValue->first, key))
                return keyValue->second;
        }
    }
    return defaultValue;
}

void WriteIniString(const QString& path, const QString& section, const QString& key, const QString& value) {
    const QString failure = QStringLiteral("Unable to write to %1").arg(path);
    std::optional<QStringList> read = readLines(path);
    if (!read)
        throw AppError(failure);
    QStringList& lines = *read;
    const QString newLine = key + QLatin1Char('=') + value;
    qsizetype sectionStart = -1;
    qsizetype insertAt = -1;
    bool written = false;
    for (qsizetype i = 0; i < lines.size() && !written; ++i) {
        if (const auto name = sectionName(lines[i])) {
            if (sectionStart >= 0)
                break; // left our section without finding the key
            if (sameName(*name, section))
                sectionStart = insertAt = i + 1;
        } else if (sectionStart >= 0) {
            if (const auto keyValue = entry(lines[i]); keyValue && sameName(keyValue->first, key)) {
                lines[i] = newLine;
                written = true;
            } else if (!lines[i].trimmed().isEmpty()) {
                insertAt = i + 1;
            }
        }
    }
    if (!written) {
        if (sectionStart < 0) {
            if (!lines.isEmpty() && !lines.back().trimmed().isEmpty())
                lines.append(QString());
            lines.append(QLatin1Char('[') + section + QLatin1Char(']'));
            insertAt = lines.size();
        }
        lines.insert(insertAt, newLine);
    }

    QSaveFile file(path);
    const QByteArray bytes = (lines.join(QLatin1String("\r\n")) + QLatin1String("\r\n")).toUtf8();
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw AppError(failure);
}
