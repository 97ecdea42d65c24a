// SPDX-License-Identifier: MIT
#include "lang/AnsiText.h"

#include "QStringPrinter.h"

#include <gtest/gtest.h>

namespace {

TEST(AnsiTextTest, LocalesMapToWindowsLanguageIdentifiers) {
    struct Case {
        const char* locale;
        int languageId;
    };
    const Case cases[] =
        {
            {"en_US", 1033}, {"en_GB", 2057}, {"zh_CN", 2052}, {"zh_TW", 1028}, {"de_DE", 1031},
            {"fr_FR", 1036}, {"es_ES", 3082}, {"ja_JP", 1041}, {"ru_RU", 1049}, {"it_IT", 1040},
            {"pt_BR", 1046}, {"pt_PT", 2070}, {"ko_KR", 1042}, {"de_AT", 3079}, {"C", 1033},
            {"de_BE", 1031}, // a territory without an identifier of its own: the language's main one
            {"yo_NG", 0},    // a language without one
        };
    for (const Case& c : cases)
        EXPECT_EQ(WindowsLanguageIdOf(QLocale(QLatin1String(c.locale))), c.languageId) << c.locale;
}

TEST(AnsiTextTest, LanguagesHaveTheirCodePages) {
    struct Case {
        int languageId;
        int codePage;
    };
    const Case cases[] = {
        {1033, 1252}, {2057, 1252}, {1031, 1252}, {3082, 1252}, {1045, 1250}, {1029, 1250}, {1049, 1251},
        {1058, 1251}, {1032, 1253}, {1055, 1254}, {1037, 1255}, {1025, 1256}, {1063, 1257}, {1066, 1258},
        {1054, 874},  {1041, 932},  {2052, 936},  {1042, 949},  {1028, 950},  {3076, 950},  {0, 1252},
    };
    for (const Case& c : cases)
        EXPECT_EQ(AnsiCodePageOf(c.languageId), c.codePage) << c.languageId;
}

TEST(AnsiTextTest, ConvertsBothWaysAndMarksWhatTheCodePageLacks) {
    struct Case {
        int codePage;
        const char16_t* text;
        QByteArray ansi;
        const char16_t* back; // what the 8-bit text reads as
    };
    const Case cases[] = {
        {1252, u"Café €", QByteArray("Caf\xe9 \x80"), u"Café €"},
        {1252, u"Привет!", QByteArray(6, '?') + '!', u"\?\?\?\?\?\?!"},
        {1251, u"Привет", QByteArray("\xcf\xf0\xe8\xe2\xe5\xf2"), u"Привет"},
        {1250, u"Łódź", QByteArray("\xa3\xf3\x64\x9f"), u"Łódź"},
        {936, u"中文a😀", QByteArray("\xd6\xd0\xce\xc4\x61?"), u"中文a?"},
        {932, u"日本", QByteArray("\x93\xfa\x96\x7b"), u"日本"},
        {1252, u"", QByteArray(), u""},
    };
    for (const Case& c : cases) {
        const QString text = QString::fromUtf16(c.text);
        EXPECT_EQ(ToAnsi(text, c.codePage).toHex(), c.ansi.toHex()) << c.codePage;
        EXPECT_EQ(FromAnsi(c.ansi, c.codePage), QString::fromUtf16(c.back)) << c.codePage;
    }
    // Bytes that mean nothing in the code page, or a double-byte character cut short.
    EXPECT_EQ(FromAnsi(QByteArray("a\x81z"), 1252), QStringLiteral("a?z"));
    EXPECT_EQ(FromAnsi(QByteArray("a\x93"), 932), QStringLiteral("a?"));
}

} // namespace
