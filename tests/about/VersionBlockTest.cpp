// SPDX-License-Identifier: MIT
#include "about/VersionBlock.h"

#include <gtest/gtest.h>

namespace {

TVersionInfoContents ProgramLikeContents() {
    TVersionInfoContents contents;
    contents.Fixed.FileVersionMS = 0x00010000;
    contents.Fixed.FileVersionLS = 0x00000053;
    contents.StringTables = {
        {"080403A8", {{"FileDescription", "Body Fat Scale"}, {"FileVersion", "1.0.0.83"}}}};
    contents.Translations = {0x03A80804};
    return contents;
}

std::uint16_t Word(const std::vector<std::uint8_t>& block, std::size_t at) {
    return static_cast<std::uint16_t>(block[at] | block[at + 1] << 8);
}

TEST(VersionBlockTest, RootNodeHasTheLayoutOfTheVersionResource) {
    const std::vector<std::uint8_t> block = BuildVersionBlock(ProgramLikeContents());
    EXPECT_EQ(Word(block, 0), block.size()); // wLength covers the whole block
    EXPECT_EQ(Word(block, 2), 52);           // wValueLength: the fixed file information
    EXPECT_EQ(Word(block, 4), 0);            // wType: binary
    const std::u16string key = u"VS_VERSION_INFO";
    for (std::size_t i = 0; i < key.size(); ++i)
        EXPECT_EQ(Word(block, 6 + 2 * i), key[i]);
    EXPECT_EQ(Word(block, 36), 0); // terminator, then padding to offset 40
    // VS_FIXEDFILEINFO at offset 40: signature, structure version, file version 1.0.0.83.
    const std::vector<std::uint8_t> fixed(block.begin() + 40, block.begin() + 56);
    EXPECT_EQ(fixed, (std::vector<std::uint8_t>{0xBD, 0x04, 0xEF, 0xFE, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00,
                                                0x01, 0x00, 0x53, 0x00, 0x00, 0x00}));
    // The first child follows the 52 bytes of the record: StringFileInfo, a text node.
    EXPECT_EQ(Word(block, 92 + 4), 1);
    EXPECT_EQ(Word(block, 92 + 6), u'S');
    EXPECT_EQ(block.size() % 4, 0u);
}

TEST(VersionBlockTest, LooksValuesUpByPath) {
    const std::vector<std::uint8_t> block = BuildVersionBlock(ProgramLikeContents());

    const std::optional<TVersionValue> root = QueryVersionValue(block, "\\");
    ASSERT_TRUE(root);
    const std::optional<TFixedFileInfo> fixed = FixedFileInfoOf(*root);
    ASSERT_TRUE(fixed);
    EXPECT_EQ(fixed->FileVersionLS, 0x53u);
    EXPECT_EQ(fixed->FileType, 1u);

    const std::optional<TVersionValue> translation = QueryVersionValue(block, "\\VarFileInfo\\Translation");
    ASSERT_TRUE(translation);
    EXPECT_FALSE(translation->IsText);
    EXPECT_EQ(std::vector<std::uint8_t>(translation->Data, translation->Data + translation->Size),
              (std::vector<std::uint8_t>{0x04, 0x08, 0xA8, 0x03}));

    for (const char* path :
         {"\\StringFileInfo\\080403A8\\FileVersion", "\\StringFileInfo\\080403A8\\FileVersion\\",
          "\\stringfileinfo\\080403a8\\FILEVERSION"}) {
        const std::optional<TVersionValue> version = QueryVersionValue(block, path);
        ASSERT_TRUE(version) << path;
        EXPECT_TRUE(version->IsText);
        EXPECT_EQ(VersionText(*version), u"1.0.0.83") << path;
    }
    EXPECT_EQ(VersionText(*QueryVersionValue(block, "\\StringFileInfo\\080403A8\\FileDescription")),
              u"Body Fat Scale");

    for (const char* missing :
         {"\\StringFileInfo\\040904B0\\FileVersion", "\\StringFileInfo\\080403A8\\Comments",
          "\\VarFileInfo\\Translation\\More", "\\Nothing"})
        EXPECT_FALSE(QueryVersionValue(block, missing)) << missing;
}

TEST(VersionBlockTest, TextsAreWrittenAsUtf16) {
    TVersionInfoContents contents = ProgramLikeContents();
    contents.StringTables[0].Strings.push_back({"ProductName", "Körperfett 体脂 \xF0\x9F\x98\x80"});
    const std::vector<std::uint8_t> block = BuildVersionBlock(contents);
    EXPECT_EQ(VersionText(*QueryVersionValue(block, "\\StringFileInfo\\080403A8\\ProductName")),
              u"Körperfett 体脂 \U0001F600");
}

TEST(VersionBlockTest, FixedInfoNeedsItsSizeAndSignature) {
    std::vector<std::uint8_t> record(52, 0);
    EXPECT_FALSE(FixedFileInfoOf({record.data(), record.size(), false})); // no signature
    record[0] = 0xBD;
    record[1] = 0x04;
    record[2] = 0xEF;
    record[3] = 0xFE;
    EXPECT_TRUE(FixedFileInfoOf({record.data(), record.size(), false}));
    EXPECT_FALSE(FixedFileInfoOf({record.data(), 51, false}));
}

TEST(VersionBlockTest, TextWithoutTerminatorEndsWithItsValue) {
    const std::vector<std::uint8_t> bytes = {'1', 0, '.', 0, '2', 0, 'x'};
    EXPECT_EQ(VersionText({bytes.data(), bytes.size(), true}), u"1.2");
    EXPECT_EQ(VersionText({bytes.data(), 0, true}), u"");
}

// Every prefix of a block and every single damaged byte: lookups succeed or fail, and never read
// outside the block (the sanitizer build watches).
TEST(VersionBlockTest, DamagedBlocksNeverReadOutside) {
    const std::vector<std::uint8_t> block = BuildVersionBlock(ProgramLikeContents());
    const char* paths[] = {"\\", "\\VarFileInfo\\Translation", "\\StringFileInfo\\080403A8\\FileVersion"};
    for (std::size_t length = 0; length < block.size(); ++length) {
        const std::vector<std::uint8_t> prefix(block.begin(),
                                               block.begin() + static_cast<std::ptrdiff_t>(length));
        for (const char* path : paths) {
            if (const std::optional<TVersionValue> value = QueryVersionValue(prefix, path)) {
                EXPECT_LE(value->Data + value->Size, prefix.data() + prefix.size());
                VersionText(*value);
            }
        }
    }
    for (std::size_t at = 0; at < block.size(); ++at) {
        for (const std::uint8_t value : {0x00, 0x01, 0x7F, 0xFF}) {
            std::vector<std::uint8_t> damaged = block;
            damaged[at] = value;
            for (const char* path : paths) {
                if (const std::optional<TVersionValue> found = QueryVersionValue(damaged, path)) {
                    EXPECT_LE(found->Data + found->Size, damaged.data() + damaged.size());
                    VersionText(*found);
                }
            }
        }
    }
}

} // namespace
