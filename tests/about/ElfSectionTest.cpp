// SPDX-License-Identifier: MIT
#include "about/ElfSection.h"
#include "ElfTestFile.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class ElfSectionTest : public ::testing::Test {
protected:
    std::optional<std::vector<std::uint8_t>> ReadFrom(const std::vector<std::uint8_t>& bytes,
                                                      const std::string& name = ".bfs_version") {
        const QString path = folder.filePath(QStringLiteral("file"));
        EXPECT_TRUE(ElfTestFile::Write(path, bytes));
        return ReadElfSection(path.toStdString(), name);
    }

    QTemporaryDir folder;
    const std::vector<std::uint8_t> block{1, 2, 3, 4, 5, 6, 7, 8, 9};
    const std::vector<ElfTestSection> sections{
        {".text", {0x90, 0x90}}, {".bfs_version", block}, {".bfs_version_other", {42}}};
};

TEST_F(ElfSectionTest, FindsTheSectionInEveryWordSizeAndByteOrder) {
    for (const ElfLayout layout :
         {ElfLayout{true, false}, ElfLayout{false, false}, ElfLayout{true, true}, ElfLayout{false, true}}) {
        const std::optional<std::vector<std::uint8_t>> found = ReadFrom(ElfTestFile::Make(sections, layout));
        ASSERT_TRUE(found) << layout.wide << layout.bigEndian;
        EXPECT_EQ(*found, block);
        EXPECT_EQ(ReadFrom(ElfTestFile::Make(sections, layout), ".bfs_version_other"),
                  std::vector<std::uint8_t>{42});
    }
}

TEST_F(ElfSectionTest, NoSectionGivesNothing) {
    EXPECT_FALSE(ReadFrom(ElfTestFile::Make({{".text", {0x90}}})));
    EXPECT_FALSE(ReadFrom(ElfTestFile::Make(sections), ".bfs"));
    EXPECT_FALSE(ReadFrom(ElfTestFile::Make({{".bfs_version", block, 8}}))); // SHT_NOBITS
    EXPECT_EQ(ReadFrom(ElfTestFile::Make({{".bfs_version", {}}})), std::vector<std::uint8_t>{});
}

TEST_F(ElfSectionTest, FilesThatAreNotElfGiveNothing) {
    EXPECT_FALSE(ReadElfSection(folder.filePath(QStringLiteral("missing")).toStdString(), ".bfs_version"));
    EXPECT_FALSE(ReadElfSection(folder.path().toStdString(), ".bfs_version")); // a folder
    EXPECT_FALSE(ReadFrom({}));
    EXPECT_FALSE(ReadFrom({'#', '!', '/', 'b', 'i', 'n', '/', 's', 'h', '\n'}));
    std::vector<std::uint8_t> badClass = ElfTestFile::Make(sections);
    badClass[4] = 3;
    EXPECT_FALSE(ReadFrom(badClass));
}

TEST_F(ElfSectionTest, EveryTruncationGivesTheSectionOrNothing) {
    const std::vector<std::uint8_t> whole = ElfTestFile::Make(sections);
    for (std::size_t length = 0; length < whole.size(); ++length) {
        const std::optional<std::vector<std::uint8_t>> found = ReadFrom(
            std::vector<std::uint8_t>(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(length)));
        if (found) {
            EXPECT_EQ(*found, block) << length;
        }
    }
}

TEST_F(ElfSectionTest, DamagedHeadersGiveNothing) {
    const std::vector<std::uint8_t> whole = ElfTestFile::Make(sections);
    const auto damaged = [&](std::size_t at, std::initializer_list<std::uint8_t> bytes) {
        std::vector<std::uint8_t> copy = whole;
        std::copy(bytes.begin(), bytes.end(), copy.begin() + static_cast<std::ptrdiff_t>(at));
        return copy;
    };
    EXPECT_FALSE(ReadFrom(damaged(ElfTestFile::NamesIndexAt, {9, 0}))); // names' index past the table
    EXPECT_FALSE(
        ReadFrom(damaged(ElfTestFile::SectionCountAt, {0xFF, 0x7F}))); // more sections than the file holds
    EXPECT_FALSE(ReadFrom(damaged(40, {0xF0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}))); // table far away
    EXPECT_FALSE(ReadFrom(damaged(58, {8, 0}))); // entries too small
}

// Any byte of the section table damaged: the reader stays inside the file (the sanitizer build watches).
TEST_F(ElfSectionTest, DamagedSectionEntriesNeverReadOutsideTheFile) {
    const std::vector<std::uint8_t> whole = ElfTestFile::Make(sections);
    const std::size_t table = whole.size() - 5 * 64;
    for (std::size_t at = table; at < whole.size(); ++at) {
        for (const std::uint8_t value : {0x00, 0xFF}) {
            std::vector<std::uint8_t> copy = whole;
            copy[at] = value;
            const std::optional<std::vector<std::uint8_t>> found = ReadFrom(copy);
            if (found) {
                EXPECT_LE(found->size(), copy.size());
            }
        }
    }
}

TEST_F(ElfSectionTest, ManySectionsKeepTheirCountInSectionZero) {
    std::vector<std::uint8_t> file = ElfTestFile::Make(sections);
    const std::size_t table = file.size() - 5 * 64;
    file[table + 32] = 5; // section 0's size holds the count
    file[ElfTestFile::SectionCountAt] = 0;
    EXPECT_EQ(ReadFrom(file), block);
    file[table + 40] = 4; // section 0's link holds the names' index
    file[ElfTestFile::NamesIndexAt] = 0xFF;
    file[ElfTestFile::NamesIndexAt + 1] = 0xFF;
    EXPECT_EQ(ReadFrom(file), block);
}

} // namespace
