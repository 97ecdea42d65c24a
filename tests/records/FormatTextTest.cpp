// SPDX-License-Identifier: MIT
#include "records/FormatText.h"

#include <gtest/gtest.h>

namespace {

const char* const NoFit = "(does not fit)";

QString Shown(const std::optional<QString>& result) {
    return result ? *result : QString::fromLatin1(NoFit);
}

TEST(FormatTextTest, WithInteger) {
    const struct {
        const char* format;
        int value;
        const char* expected;
    } cases[] = {
        {"Records: %d", 12, "Records: 12"},
        {"%d", 0, "0"},
        {"%d", -7, "-7"},
        {"no placeholder", 5, "no placeholder"},
        {"100%% of %d", 3, "100% of 3"},
        {"[%5d]", 42, "[   42]"},
        {"[%-5d]", 42, "[42   ]"},
        {"[%.4d]", 42, "[0042]"},
        {"[%.4d]", -42, "[-0042]"},
        {"%0:d rows", 9, "9 rows"},
        {"%x", 255, "FF"},
        {"%u", -1, "4294967295"},
        {"%D", 8, "8"},
        {"", 1, ""},
        {"%s rows", 3, NoFit},
        {"%f", 3, NoFit},
        {"%d of %d", 3, NoFit},
        {"%1:d", 3, NoFit},
        {"%*d", 3, NoFit},
        {"ends in %", 3, NoFit},
        {"%5", 3, NoFit},
        {"%.d", 3, NoFit},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Shown(FormatWithInteger(QString::fromUtf8(c.format), c.value)),
                  QString::fromUtf8(c.expected))
            << c.format;
}

TEST(FormatTextTest, WithText) {
    const struct {
        const char* format;
        const char* text;
        const char* expected;
    } cases[] = {
        {"The file \"%s\" exists", "/tmp/a.xls", "The file \"/tmp/a.xls\" exists"},
        {"%s", "", ""},
        {"[%6s]", "ab", "[    ab]"},
        {"[%-6s]", "ab", "[ab    ]"},
        {"[%.2s]", "abcdef", "[ab]"},
        {"Ersetzen: %S?", "ä.xls", "Ersetzen: ä.xls?"},
        {"%d", "a", NoFit},
        {"%s %s", "a", NoFit},
        {"%", "a", NoFit},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Shown(FormatWithText(QString::fromUtf8(c.format), QString::fromUtf8(c.text))),
                  QString::fromUtf8(c.expected))
            << c.format;
}

} // namespace
