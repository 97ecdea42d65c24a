// SPDX-License-Identifier: MIT
#include "core/SettingsFile.h"
#include "core/AppError.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QString writeFile(const QTemporaryDir& dir, const QByteArray& content) {
    const QString path = dir.filePath(QStringLiteral("my.ini"));
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(content);
    return path;
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

} // namespace

TEST(SettingsFile, MissingFileOrKeyYieldsTheDefault) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("my.ini"));
    EXPECT_EQ(ReadIniString(path, "Common", "Skin", "Office 2003"), QStringLiteral("Office 2003"));
    writeFile(dir, "[Common]\r\nLang=English\r\n");
    EXPECT_EQ(ReadIniString(path, "Common", "Skin", "Office 2003"), QStringLiteral("Office 2003"));
}

TEST(SettingsFile, SectionAndKeyNamesIgnoreLetterCase) {
    QTemporaryDir dir;
    const QString path = writeFile(dir, "[other]\nlang=Wrong\n[COMMON]\n  LANG = Deutsch \nSkin=Xito\n");
    EXPECT_EQ(ReadIniString(path, "Common", "Lang", ""), QStringLiteral("Deutsch"));
    EXPECT_EQ(ReadIniString(path, "common", "skin", ""), QStringLiteral("Xito"));
}

TEST(SettingsFile, GarbledFileReadsAsDefaults) {
    QTemporaryDir dir;
    const QString path = writeFile(dir, QByteArray("\x00\xff[[[=\n=\nCommon\nLang\n", 18));
    EXPECT_EQ(ReadIniString(path, "Common", "Lang", "none"), QStringLiteral("none"));
}

TEST(SettingsFile, WritingCreatesReplacesAndKeepsOtherLines) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("my.ini"));
    WriteIniString(path, "Common", "Lang", "English");
    EXPECT_EQ(readFile(path), QByteArray("[Common]\r\nLang=English\r\n"));
    WriteIniString(path, "Common", "Skin", "Office 2003");
    WriteIniString(path, "common", "LANG", "Deutsch");
    EXPECT_EQ(readFile(path), QByteArray("[Common]\r\nLANG=Deutsch\r\nSkin=Office 2003\r\n"));

    writeFile(dir, "; note\n[Other]\nx=1\n");
    WriteIniString(path, "Common", "Skin", "Xito");
    EXPECT_EQ(readFile(path), QByteArray("; note\r\n[Other]\r\nx=1\r\n\r\n[Common]\r\nSkin=Xito\r\n"));
    EXPECT_EQ(ReadIniString(path, "Other", "x", ""), QStringLiteral("1"));
}

TEST(SettingsFile, UnwritableFolderRaisesUnableToWrite) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("missing/my.ini"));
    try {
        WriteIniString(path, "Common", "Lang", "English");
        FAIL() << "no error";
    } catch (const AppError& error) {
        EXPECT_EQ(error.message(), QStringLiteral("Unable to write to ") + path);
    }
}
