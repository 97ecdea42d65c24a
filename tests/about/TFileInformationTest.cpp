// SPDX-License-Identifier: MIT
#include "about/TFileInformation.h"
#include "ElfTestFile.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// A version block with one string table per entry of tables, and the given translations.
std::vector<std::uint8_t> Block(std::uint32_t fileType, std::vector<std::uint32_t> translations,
                                std::vector<TVersionStringTable> tables) {
    TVersionInfoContents contents;
    contents.Fixed.FileType = fileType;
    contents.Translations = std::move(translations);
    contents.StringTables = std::move(tables);
    return BuildVersionBlock(contents);
}

TVersionStringTable Table(const std::string& key, const std::string& version) {
    return {key, {{"ProductName", "Body Fat Scale"}, {"FileVersion", version}}};
}

class FileInformationTest : public ::testing::Test {
protected:
    QString FileWith(const std::vector<std::uint8_t>& block) {
        return FileOf(ElfTestFile::Make({{".text", {0xC3}}, {VersionSectionName, block}}));
    }
    QString FileOf(const std::vector<std::uint8_t>& bytes) {
        const QString path = folder.filePath(QStringLiteral("program%1").arg(++files));
        EXPECT_TRUE(ElfTestFile::Write(path, bytes));
        return path;
    }
    static QString VersionOf(const QString& path) {
        QString text;
        TFileInformation(path).GetFileVersion(text);
        return text;
    }

    QTemporaryDir folder;
    int files = 0;
};

TEST_F(FileInformationTest, ReadsTheVersionOfTheFirstTranslation) {
    struct Case {
        const char* what;
        std::vector<std::uint32_t> translations;
        std::vector<TVersionStringTable> tables;
        const char* key;
        const char* version;
    };
    const Case cases[] = {
        {"the program's own translation",
         {0x03A80804},
         {Table("080403A8", "1.0.0.83")},
         "080403A8",
         "1.0.0.83"},
        {"US English, Unicode", {0x04B00409}, {Table("040904B0", "2.1")}, "040904B0", "2.1"},
        {"upper-case hexadecimal key", {0x04E40C0A}, {Table("0C0A04E4", "3.0")}, "0C0A04E4", "3.0"},
        {"two translations: the first counts",
         {0x04B00409, 0x03A80804},
         {Table("080403A8", "1.0.0.83"), Table("040904B0", "2.2")},
         "040904B0",
         "2.2"},
        {"two translations: the second table is never tried",
         {0x04B00409, 0x03A80804},
         {Table("080403A8", "1.0.0.83")},
         "040904B0",
         ""},
        {"no translation entry", {}, {Table("080403A8", "1.0.0.83")}, "", ""},
        {"no string table", {0x03A80804}, {}, "080403A8", ""},
        {"no FileVersion string", {0x03A80804}, {{"080403A8", {{"ProductName", "x"}}}}, "080403A8", ""},
    };
    for (const Case& c : cases) {
        const TFileInformation info(FileWith(Block(1, c.translations, c.tables)));
        EXPECT_TRUE(info.HasInfo()) << c.what;
        EXPECT_TRUE(info.KnownType()) << c.what;
        EXPECT_EQ(info.TranslationKey(), QString::fromLatin1(c.key)) << c.what;
        QString text;
        info.GetFileVersion(text);
        EXPECT_EQ(text, QString::fromLatin1(c.version)) << c.what;
    }
}

TEST_F(FileInformationTest, SplitsTheTranslationIntoLanguageAndCodePage) {
    const TFileInformation info(FileWith(Block(1, {0x03A80804}, {Table("080403A8", "1.0.0.83")})));
    EXPECT_EQ(info.LangId(), 0x0804);
    EXPECT_EQ(info.CodePage(), 936);
}

TEST_F(FileInformationTest, OnlyKnownFileTypesHaveTexts) {
    struct Case {
        std::uint32_t type;
        bool known;
    };
    for (const Case c : {Case{1, true}, Case{2, true}, Case{5, true}, Case{7, true}, Case{0, false},
                         Case{3, false}, Case{4, false}, Case{6, false}, Case{8, false}}) {
        const TFileInformation info(FileWith(Block(c.type, {0x04B00409}, {Table("040904B0", "4.5")})));
        EXPECT_TRUE(info.HasInfo()) << c.type;
        EXPECT_EQ(info.KnownType(), c.known) << c.type;
        EXPECT_EQ(info.TranslationKey().isEmpty(), !c.known) << c.type;
        QString text = QStringLiteral("unchanged");
        info.GetFileVersion(text);
        EXPECT_EQ(text, c.known ? QStringLiteral("4.5") : QStringLiteral("unchanged")) << c.type;
    }
}

TEST_F(FileInformationTest, FilesWithoutABlockHaveNoInformation) {
    const QString paths[] = {
        FileOf(ElfTestFile::Make({{".text", {0xC3}}})),
        FileOf({'n', 'o', 't', ' ', 'E', 'L', 'F'}),
        folder.filePath(QStringLiteral("missing")),
        QString(),
    };
    for (const QString& path : paths) {
        const TFileInformation info(path);
        EXPECT_FALSE(info.HasInfo()) << path.toStdString();
        EXPECT_FALSE(info.KnownType());
        QString text = QStringLiteral("unchanged");
        info.GetFileVersion(text);
        EXPECT_EQ(text, QStringLiteral("unchanged"));
    }
}

TEST_F(FileInformationTest, DamagedBlocksGiveNoVersion) {
    const std::vector<std::uint8_t> block = Block(1, {0x03A80804}, {Table("080403A8", "1.0.0.83")});
    for (std::size_t length = 1; length < block.size(); length += 3) {
        const std::vector<std::uint8_t> cut(block.begin(),
                                            block.begin() + static_cast<std::ptrdiff_t>(length));
        const QString version = VersionOf(FileWith(cut));
        EXPECT_TRUE(version.isEmpty() || version == QStringLiteral("1.0.0.83")) << length;
    }
    std::vector<std::uint8_t> garbage(block.size(), 0xA5);
    EXPECT_EQ(VersionOf(FileWith(garbage)), QString());
    std::vector<std::uint8_t> badSignature = block;
    badSignature[40] = 0;
    EXPECT_EQ(VersionOf(FileWith(badSignature)), QString());
}

TEST_F(FileInformationTest, TheProgramCarriesVersion1_0_0_83) {
    const TFileInformation info(QStringLiteral(BFS_PROGRAM_FILE));
    ASSERT_TRUE(info.HasInfo()) << BFS_PROGRAM_FILE;
    EXPECT_TRUE(info.KnownType());
    EXPECT_EQ(info.TranslationKey(), QStringLiteral("080403A8"));
    QString text;
    info.GetFileVersion(text);
    EXPECT_EQ(text, QStringLiteral("1.0.0.83"));
    ASSERT_TRUE(info.FixedInfo());
    EXPECT_EQ(info.FixedInfo()->FileVersionMS, 0x00010000u);
    EXPECT_EQ(info.FixedInfo()->FileVersionLS, 0x00000053u);
}

TEST_F(FileInformationTest, TheTestProgramCarriesTheSameBlock) {
    EXPECT_EQ(VersionOf(QCoreApplication::applicationFilePath()), QStringLiteral("1.0.0.83"));
}

} // namespace
