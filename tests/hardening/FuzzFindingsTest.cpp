// SPDX-License-Identifier: MIT
// Inputs that fuzzing found harmful, as tests of the sound behaviour. The inputs themselves also
// lie in fuzz/corpus/<target>/, where the corpus replay feeds them to the fuzz targets.
#include "core/SettingsFile.h"
#include "core/WindowRegistry.h"
#include "lang/LangMgr.h"

#include <QDir>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace {

// Makes a language file with the given window elements current.
void UseLanguage(const QTemporaryDir& folder, const QString& body) {
    QFile file(QDir(folder.path()).filePath(QStringLiteral("Fuzz.xml")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QStringLiteral("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<Root><Language Name=\"Fuzz\" "
                              "LangId=\"1033\"/>%1</Root>\n")
                   .arg(body)
                   .toUtf8());
    file.close();
    LangMgr().LoadLanguageList(folder.path() + QLatin1Char('/'), false);
    LangMgr().SetLanguage(QStringLiteral("Fuzz"));
    ASSERT_EQ(LangMgr().CurrentLanguage(), QStringLiteral("Fuzz"));
}

// A number that names no member of an enumeration was stored into the enumeration (undefined
// behaviour, caught by UBSan). It is passed over now; the attributes after it still apply.
TEST(FuzzFindingsTest, EnumerationTakesOnlyItsMembers) {
    struct Case {
        const char* number;
        QFrame::Shape expected;
    };
    const Case cases[] = {
        {"6", QFrame::StyledPanel}, // a member
        {"7", QFrame::Box},         // one past the last member
        {"99", QFrame::Box},        {"-1", QFrame::Box}, {"2147483647", QFrame::Box},
    };
    QTemporaryDir folder;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.number);
        auto window = std::make_unique<QFrame>();
        window->setFrameShape(QFrame::Box);
        auto* label = new QLabel(window.get());
        label->setObjectName(QStringLiteral("lblInfo"));
        label->setFrameShape(QFrame::Box);
        JoinWindowRegistry(window.get());
        UseLanguage(folder, QStringLiteral("<QFrame frameShape=\"%1\" lineWidth=\"3\">"
                                           "<lblInfo frameShape=\"%1\" Caption=\"after\"/></QFrame>")
                                .arg(QLatin1String(c.number)));
        EXPECT_EQ(window->frameShape(), c.expected);
        EXPECT_EQ(window->lineWidth(), 3);
        EXPECT_EQ(label->frameShape(), c.expected);
        EXPECT_EQ(label->text(), QStringLiteral("after"));
    }
}

// Writing a key changed what another key read: decoding dropped one byte order mark and writing
// wrote none, so behind a second mark the first line became a section header once written back.
TEST(FuzzFindingsTest, ByteOrderMarksDoNotChangeTheMeaningOfTheFirstLine) {
    QTemporaryDir folder;
    const QString path = QDir(folder.path()).filePath(QStringLiteral("my.ini"));
    for (int marks = 0; marks <= 3; ++marks) {
        SCOPED_TRACE(marks);
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(QByteArray("\xEF\xBB\xBF").repeated(marks) + "[Common]\r\nLang=Deutsch\r\n");
        file.close();
        EXPECT_EQ(ReadIniString(path, QStringLiteral("Common"), QStringLiteral("Lang"), QString()),
                  QStringLiteral("Deutsch"));
        WriteIniString(path, QStringLiteral("Common"), QStringLiteral("Skin"), QStringLiteral("Blue"));
        EXPECT_EQ(ReadIniString(path, QStringLiteral("Common"), QStringLiteral("Lang"), QString()),
                  QStringLiteral("Deutsch"));
        EXPECT_EQ(ReadIniString(path, QStringLiteral("Common"), QStringLiteral("Skin"), QString()),
                  QStringLiteral("Blue"));
    }
}

} // namespace
