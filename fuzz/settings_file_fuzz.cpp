// SPDX-License-Identifier: MIT
// The settings file, which a person may edit by hand: read, and written back with one key changed.
// The input's first line names "section<TAB>key<TAB>value"; the rest is the file's contents.
// Properties checked: the written value reads back, and the values other keys read do not change.
#include "FuzzTarget.h"

#include "core/SettingsFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <utility>
#include <vector>

namespace {

bool HasLineBreak(const QString& text) {
    return text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'));
}

// Names and values the program itself writes: one line, no blanks around them, a section name
// without "]", a key without "=" that starts neither a comment nor a section.
bool PlainSection(const QString& name) {
    return !HasLineBreak(name) && name == name.trimmed() && !name.contains(QLatin1Char(']'));
}
bool PlainKey(const QString& key) {
    return !key.isEmpty() && !HasLineBreak(key) && key == key.trimmed() && !key.contains(QLatin1Char('=')) &&
           !key.startsWith(QLatin1Char(';')) && !key.startsWith(QLatin1Char('['));
}
bool PlainValue(const QString& value) {
    return !HasLineBreak(value) && value == value.trimmed();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const qsizetype lineEnd = input.indexOf('\n');
    const QByteArray contents = lineEnd < 0 ? input : input.mid(lineEnd + 1);
    const QStringList request =
        QString::fromUtf8(input.left(lineEnd < 0 ? 0 : lineEnd)).split(QLatin1Char('\t'));

    QString section = request.value(0);
    QString key = request.value(1);
    QString value = request.value(2);
    if (!PlainSection(section))
        section = QStringLiteral("Common");
    if (!PlainKey(key))
        key = QStringLiteral("Lang");
    if (!PlainValue(value))
        value = QStringLiteral("English");

    const QString path = QDir(ScratchFolder()).filePath(QStringLiteral("my.ini"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            std::abort();
        file.write(contents);
    }

    // The keys the program reads, and a neighbour of the written key.
    std::vector<std::pair<QString, QString>> probes = {{QStringLiteral("Common"), QStringLiteral("Lang")},
                                                       {QStringLiteral("Common"), QStringLiteral("Skin")},
                                                       {section, key + QStringLiteral("2")}};
    std::vector<QString> before;
    for (const auto& [probeSection, probeKey] : probes)
        before.push_back(ReadIniString(path, probeSection, probeKey, QStringLiteral("(none)")));
    (void)ReadIniString(path, section, key, QString());

    WriteIniString(path, section, key, value);

    FUZZ_CHECK(ReadIniString(path, section, key, QStringLiteral("(none)")) == value);
    for (std::size_t i = 0; i < probes.size(); ++i) {
        const auto& [probeSection, probeKey] = probes[i];
        if (probeSection.compare(section, Qt::CaseInsensitive) == 0 &&
            probeKey.compare(key, Qt::CaseInsensitive) == 0)
            continue;
        FUZZ_CHECK(ReadIniString(path, probeSection, probeKey, QStringLiteral("(none)")) == before[i]);
    }
    return 0;
}
