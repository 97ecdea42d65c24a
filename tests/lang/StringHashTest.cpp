// SPDX-License-Identifier: MIT
#include "lang/StringHash.h"

#include "QStringPrinter.h"

#include <gtest/gtest.h>

namespace {

struct HashCase {
    const char16_t* key;
    uint32_t hash;
    uint32_t bucket; // of 256
};

// Worked out by hand and with a separate script: rotate left 2, XOR each UTF-16 code unit.
const HashCase HashCases[] = {
    {u"", 0x0, 0},
    {u"a", 0x61, 97},
    {u"abc", 0x7FB, 251},
    {u"KG", 0x16B, 107},
    {u"SaveSucessAndDelete", 0xD8E1AD3A, 58}, // long enough for bits to wrap around
    {u"FileExistsSureOverwrite", 0x04A4C026, 38},
    {u"\u4E2D\u6587", 0x15D33, 51},
    {u"\U0001F600", 0x3BEF4, 244}, // a surrogate pair hashes as two code units
};

TEST(StringHashTest, HashAndBucketOfKnownKeys) {
    TStringHash table(256);
    for (const HashCase& c : HashCases) {
        const QString key = QString::fromUtf16(c.key);
        EXPECT_EQ(table.KeyHash(key), c.hash) << key.toStdString();
        EXPECT_EQ(table.BucketOf(key), c.bucket) << key.toStdString();
    }
}

TEST(StringHashTest, LaterAddHidesEarlierAndKeysAreExact) {
    TStringHash table(256);
    table.Add(QStringLiteral("Notify"), QStringLiteral("first"));
    table.Add(QStringLiteral("Notify"), QStringLiteral("second"));
    EXPECT_EQ(table.LookupValue(u"Notify"), QStringLiteral("second"));
    EXPECT_EQ(table.LookupValue(QLatin1String("Notify")), QStringLiteral("second"));
    EXPECT_EQ(table.LookupValue(u"notify"), QString());
    EXPECT_EQ(table.LookupValue(u"Notif"), QString());
    EXPECT_EQ(table.LookupValue(u""), QString());
}

TEST(StringHashTest, FindReturnsTheLinkToTheFirstMatchOrTheEndOfTheChain) {
    TStringHash table(1); // one chain holds everything
    table.Add(QStringLiteral("x"), QStringLiteral("1"));
    table.Add(QStringLiteral("y"), QStringLiteral("2"));
    table.Add(QStringLiteral("x"), QStringLiteral("3"));

    THashItem** head = table.Find(u"x");
    ASSERT_NE(*head, nullptr);
    EXPECT_EQ((*head)->Value, QStringLiteral("3"));

    THashItem** y = table.Find(u"y");
    ASSERT_NE(*y, nullptr);
    EXPECT_EQ(y, &(*head)->Next); // the link inside the item before it
    EXPECT_EQ((*y)->Value, QStringLiteral("2"));

    THashItem** missing = table.Find(u"z");
    EXPECT_EQ(*missing, nullptr);
    EXPECT_EQ(missing, &(*y)->Next->Next); // the null link at the end of the chain
}

TEST(StringHashTest, ClearEmptiesEveryChainAndTheTableStaysUsable) {
    TStringHash table(256);
    for (int i = 0; i < 1000; ++i)
        table.Add(QString::number(i), QString::number(i * 2));
    EXPECT_EQ(table.LookupValue(u"999"), QStringLiteral("1998"));
    table.Clear();
    EXPECT_EQ(table.LookupValue(u"999"), QString());
    EXPECT_EQ(table.BucketCount(), 256);
    table.Add(QStringLiteral("k"), QStringLiteral("v"));
    EXPECT_EQ(table.LookupValue(u"k"), QStringLiteral("v"));
}

TEST(StringHashTest, LongLatin1KeysAreFoundToo) {
    TStringHash table(256);
    const QString key(200, QLatin1Char('q'));
    table.Add(key, QStringLiteral("long"));
    EXPECT_EQ(table.LookupValue(QLatin1String(key.toLatin1())), QStringLiteral("long"));
}

} // namespace
