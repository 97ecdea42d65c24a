// SPDX-License-Identifier: MIT
#include "core/SettingsFile.h"
#include "core/AppError.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

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

// A settings file that exists but cannot be read reads as defaults, and a write raises instead of
// replacing it with the one key. Run in a child process that is not the superuser, whom file
// permissions do not bind.
TEST(SettingsFile, UnreadableFileIsNeverOverwritten) {
    QTemporaryDir dir;
    const QByteArray content = "[Common]\r\nLang=Deutsch\r\nSkin=Xito\r\n";
    const QString path = writeFile(dir, content);
    // the folder stays writable for the child, so a replacement could go through
    ASSERT_TRUE(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                                      QFile::ReadOther | QFile::WriteOther |
                                                      QFile::ExeOther));
    // writable but not readable: a file that cannot be written is refused by the writer anyway
    ASSERT_TRUE(QFile::setPermissions(path, QFile::WriteOwner | QFile::WriteOther));
    const pid_t child = fork();
    if (child == 0) {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
            _exit(10);
        if (ReadIniString(path, "Common", "Lang", "none") != QStringLiteral("none"))
            _exit(11);
        try {
            WriteIniString(path, "Common", "Lang", "English");
        } catch (const AppError& error) {
            _exit(error.message() == QStringLiteral("Unable to write to ") + path ? 0 : 12);
        }
        _exit(13);
    }
    int status = -1;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "10 no unprivileged user, 11 read, 12 other error, 13 no error";
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    EXPECT_EQ(readFile(path), content);
}
