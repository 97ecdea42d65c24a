// SPDX-License-Identifier: MIT
// Every language file in resources/Lang, checked against the English file and against the
// program's real windows: the keys, the placeholders the code fills in, the components and
// properties the window elements name, the code pages and the encodings.
#include "LanguageFile.h"

#include "about/TfrmAbout.h"
#include "app/TfrmMain.h"
#include "charts/TfrmChat.h"
#include "charts/TfrmMyChartPreview.h"
#include "charts/TfrmStatistics.h"
#include "core/Globals.h"
#include "lang/AnsiText.h"
#include "lang/LangMgr.h"
#include "lang/TPublishedProperty.h"
#include "lang/TStrings.h"
#include "operations/TfrmDataImport.h"
#include "operations/TfrmSyncDate.h"
#include "operations/TfrmUserInfo.h"
#include "overview/TfrmOverview.h"
#include "records/FormatText.h"
#include "records/TfrmCsvImport.h"
#include "records/TfrmDateRange.h"
#include "records/TfrmMyData.h"
#include "scale/VirtualHidBackend.h"
#include "store/Statements.h"
#include "support/MessageBoxRecorder.h"
#include "users/TfrmLogin.h"
#include "users/TfrmPasswd.h"

#include <QMap>
#include <QMetaProperty>
#include <QRegularExpression>
#include <QSet>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <map>

namespace {

const struct {
    const char16_t* Name;
    int LangId;
} ShippedLanguages[] = {
    {u"English", 1033},  {u"简体中文", 2052}, {u"Deutsch", 1031},
    {u"Français", 1036}, {u"Español", 3082},  {u"日本語", 1041},
};

// The format texts and the placeholders the code fills them with.
const struct {
    const char* Key;
    const char* Placeholder;
} FormatTexts[] = {
    {"FmtRecordCnt", "%d"},
    {"UserNameFmt", "%d"},
    {"FileExistsSureOverwrite", "%s"},
    {"SkippedInvalidDates", "%d"},
};

// Texts that end up as 8-bit text in the language's code page: list cells and spreadsheet cells.
const char* const AnsiTextKeys[] = {"MeasuringDate", "Date", "Weight", "WeightKG", "WeightLB", "FAT",
                                    "TBW",           "MUS",  "BONE",   "KG",       "LB"};

std::string Utf8(const QString& text) {
    return text.toStdString();
}

std::string Lines(const QStringList& lines) {
    return Utf8(lines.join(QLatin1Char('\n')));
}

QStringList Placeholders(const QString& text) {
    static const QRegularExpression placeholder(QStringLiteral("%(?:\\d+:)?-?\\d*(?:\\.\\d+)?[A-Za-z%]"));
    QStringList found;
    for (const QRegularExpressionMatch& match : placeholder.globalMatch(text)) {
        if (match.captured() != QLatin1String("%%"))
            found << match.captured();
    }
    return found;
}

QMap<QString, QString> MessageTexts(const LanguageFile& file) {
    QMap<QString, QString> texts;
    for (const xmlNode* entry : ChildElements(FirstChildElement(file.Root(), "Text")))
        texts.insert(NameOf(entry), TextOf(entry));
    return texts;
}

int LangIdOf(const LanguageFile& file) {
    return AttributeOf(FirstChildElement(file.Root(), "Language"), "LangId").toInt();
}

QString DeclaredEncoding(const QByteArray& bytes) {
    static const QRegularExpression declaration(QStringLiteral("^<\\?xml[^>]*encoding=\"([^\"]+)\""));
    const QRegularExpressionMatch match = declaration.match(QString::fromLatin1(bytes.left(100)));
    return match.hasMatch() ? match.captured(1).toLower() : QStringLiteral("utf-8");
}

bool IsValidUtf8(const QByteArray& bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder(bytes);
    return !decoder.hasError();
}

QObject* ComponentNamed(QObject* owner, const QString& name) {
    for (QObject* child : owner->findChildren<QObject*>()) {
        if (child->objectName().compare(name, Qt::CaseInsensitive) == 0)
            return child;
    }
    return nullptr;
}

// Whether one of the object's text properties holds text.
bool HoldsText(const QObject* object, const QString& text) {
    const QMetaObject* meta = object->metaObject();
    for (int i = 0; i < meta->propertyCount(); ++i) {
        const QMetaProperty property = meta->property(i);
        if (property.metaType().id() == QMetaType::QString && property.read(object).toString() == text)
            return true;
    }
    return false;
}

// One text or list that a window element sets, found on the real windows.
struct Setting {
    QObject* Object = nullptr;
    QString Value;       // a text property's value
    QStringList Entries; // a list property's entries
    bool IsList = false;
    bool IsWideText = false;
};

// Walks a file's window elements over the real windows, as window translation does, and notes
// every problem: an unknown window or component, a property the object lacks or cannot take the
// value of. Settings are keyed by their path ("TfrmUserInfo/cbbSex/Items", "TfrmMain@Caption").
class WindowElementWalker {
public:
    WindowElementWalker(const QMap<QString, QWidget*>& windows, const LanguageFile& file)
        : windows_(windows) {
        for (xmlNode* element : ChildElements(file.Root())) {
            const QString name = NameOf(element);
            if (name == QLatin1String("Language") || name == QLatin1String("Text") ||
                name == QLatin1String("Default"))
                continue;
            QWidget* window = windows_.value(name);
            if (!window) {
                Problems << QStringLiteral("%1: no window of this class").arg(name);
                continue;
            }
            Walk(name, window, element);
        }
    }

    QStringList Problems;
    std::map<QString, Setting> Settings;

private:
    void Walk(const QString& path, QObject* component, xmlNode* element) {
        SetAttributes(path, component, element);
        for (xmlNode* child : ChildElements(element)) {
            const QString name = NameOf(child);
            const QString childPath = path + QLatin1Char('/') + name;
            if (QObject* owned = ComponentNamed(component, name)) {
                Walk(childPath, owned, child);
                continue;
            }
            const TPublishedProperty property = TPublishedProperty::Find(component, name);
            QObject* object = property.IsValid() ? property.ReadObject() : nullptr;
            if (!object) {
                Problems << QStringLiteral("%1: no component or object property of this name").arg(childPath);
            } else if (auto* strings = qobject_cast<TStrings*>(object)) {
                Setting& setting = Settings[childPath];
                setting.Object = strings;
                setting.Entries = ListEntries(child);
                setting.IsList = true;
            } else {
                SetAttributes(childPath, object, child);
            }
        }
    }

    void SetAttributes(const QString& path, QObject* object, xmlNode* element) {
        for (const xmlAttr* attribute = element->properties; attribute; attribute = attribute->next) {
            const QString name = QString::fromUtf8(reinterpret_cast<const char*>(attribute->name));
            const QString where = path + QLatin1Char('@') + name;
            const QString value = AttributeOf(element, reinterpret_cast<const char*>(attribute->name));
            const TPublishedProperty property = TPublishedProperty::Find(object, name);
            if (!property.IsValid() || !property.IsWritable()) {
                Problems << QStringLiteral("%1: %2 has no writable property of this name")
                                .arg(where, QLatin1String(object->metaObject()->className()));
                continue;
            }
            const TPropKind kind = property.Kind();
            bool isNumber = false;
            value.toInt(&isNumber, 10);
            if ((kind == TPropKind::Integer || kind == TPropKind::Enumeration || kind == TPropKind::Set) &&
                !isNumber)
                Problems << QStringLiteral(
                                "%1: \"%2\" is no whole number; it would end the window's translation")
                                .arg(where, value);
            Setting& setting = Settings[where];
            setting.Object = object;
            setting.Value = value;
            setting.IsWideText = kind == TPropKind::WideText;
        }
    }

    const QMap<QString, QWidget*>& windows_;
};

class LanguageFilesTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        settingsFolder_ = new QTemporaryDir;
        Globals = TGlobals{};
        Globals.SettingsPath = settingsFolder_->filePath(QStringLiteral("my.ini"));
        files_ = new std::vector<LanguageFile>(LoadLanguageFiles());

        windows_ = new std::vector<std::unique_ptr<QWidget>>;
        windows_->push_back(std::make_unique<TfrmMain>(std::make_unique<VirtualHidBackend>()));
        windows_->push_back(std::make_unique<TfrmLogin>());
        windows_->push_back(std::make_unique<TfrmPasswd>());
        windows_->push_back(std::make_unique<TfrmMyData>());
        windows_->push_back(std::make_unique<TfrmDateRange>());
        windows_->push_back(std::make_unique<TfrmDataImport>());
        windows_->push_back(std::make_unique<TfrmCsvImport>());
        windows_->push_back(std::make_unique<TfrmSyncDate>());
        windows_->push_back(std::make_unique<TfrmUserInfo>());
        windows_->push_back(std::make_unique<TfrmChat>());
        windows_->push_back(std::make_unique<TfrmStatistics>(std::vector<TDayMean>{}, QDate(), QDate()));
        windows_->push_back(std::make_unique<TfrmMyChartPreview>());
        windows_->push_back(std::make_unique<TfrmOverview>());
        windows_->push_back(std::make_unique<TfrmAbout>());
        byClass_ = new QMap<QString, QWidget*>;
        for (const auto& window : *windows_)
            byClass_->insert(QLatin1String(window->metaObject()->className()), window.get());
    }

    static void TearDownTestSuite() {
        delete byClass_;
        delete windows_; // the main window writes its theme to the temporary settings file
        delete files_;
        delete settingsFolder_;
        Globals = TGlobals{};
    }

    static const std::vector<LanguageFile>& Files() { return *files_; }
    static const QMap<QString, QWidget*>& Windows() { return *byClass_; }

    static const LanguageFile& English() {
        for (const LanguageFile& file : Files()) {
            if (file.FileName == QLatin1String("English.xml"))
                return file;
        }
        throw std::logic_error("English.xml is missing");
    }

    MessageBoxRecorder boxes;

private:
    static inline QTemporaryDir* settingsFolder_ = nullptr;
    static inline std::vector<LanguageFile>* files_ = nullptr;
    static inline std::vector<std::unique_ptr<QWidget>>* windows_ = nullptr;
    static inline QMap<QString, QWidget*>* byClass_ = nullptr;
};

TEST_F(LanguageFilesTest, EveryFileParsesAndTheSixLanguagesAreListedWithTheirIds) {
    QMap<QString, int> found;
    for (const LanguageFile& file : Files()) {
        ASSERT_NE(file.Root(), nullptr) << Utf8(file.FileName) << " does not parse";
        const xmlNode* language = FirstChildElement(file.Root(), "Language");
        ASSERT_NE(language, nullptr) << Utf8(file.FileName) << " has no Language element";
        const QString name = AttributeOf(language, "Name");
        EXPECT_FALSE(found.contains(name)) << Utf8(name) << " is declared twice";
        found.insert(name, LangIdOf(file));
    }
    QMap<QString, int> expected;
    for (const auto& language : ShippedLanguages)
        expected.insert(QString::fromUtf16(language.Name), language.LangId);
    EXPECT_EQ(found, expected);

    // The language manager lists every one of them.
    TLangMgr manager;
    manager.LoadLanguageList(LanguageFolder(), false);
    EXPECT_EQ(manager.Languages().size(), qsizetype(Files().size()));
}

TEST_F(LanguageFilesTest, EveryFileHasEveryMessageKeyOfTheEnglishFileAndNoOther) {
    const QMap<QString, QString> english = MessageTexts(English());
    ASSERT_GE(english.size(), 57);
    for (const LanguageFile& file : Files()) {
        const QMap<QString, QString> texts = MessageTexts(file);
        QStringList missing, empty, unknown;
        for (auto it = english.cbegin(); it != english.cend(); ++it) {
            if (!texts.contains(it.key()))
                missing << it.key();
            else if (texts.value(it.key()).isEmpty())
                empty << it.key();
        }
        for (const QString& key : texts.keys()) {
            if (!english.contains(key))
                unknown << key;
        }
        EXPECT_TRUE(missing.isEmpty()) << Utf8(file.FileName) << " lacks " << Lines(missing);
        EXPECT_TRUE(empty.isEmpty()) << Utf8(file.FileName) << " has empty " << Lines(empty);
        EXPECT_TRUE(unknown.isEmpty())
            << Utf8(file.FileName) << " has keys the program never asks for: " << Lines(unknown);
    }
}

TEST_F(LanguageFilesTest, FormatTextsHoldThePlaceholdersTheCodeFillsIn) {
    const QMap<QString, QString> english = MessageTexts(English());
    for (const LanguageFile& file : Files()) {
        const QMap<QString, QString> texts = MessageTexts(file);
        const std::string name = Utf8(file.FileName);
        // A text that is no format text must not look like one either.
        for (auto it = texts.cbegin(); it != texts.cend(); ++it)
            EXPECT_EQ(Placeholders(it.value()), Placeholders(english.value(it.key())))
                << name << " " << Utf8(it.key());
        for (const auto& format : FormatTexts)
            EXPECT_EQ(Placeholders(texts.value(QLatin1String(format.Key))),
                      QStringList{QLatin1String(format.Placeholder)})
                << name << " " << format.Key;

        // Filled in as the program fills them in.
        const std::optional<QString> count =
            FormatWithInteger(texts.value(QStringLiteral("FmtRecordCnt")), 42);
        EXPECT_TRUE(count && count->contains(QStringLiteral("42"))) << name;
        const std::optional<QString> question = FormatWithText(
            texts.value(QStringLiteral("FileExistsSureOverwrite")), QStringLiteral("/tmp/x.xls"));
        EXPECT_TRUE(question && question->contains(QStringLiteral("/tmp/x.xls"))) << name;
        const QString userName = DefaultUserName(texts.value(QStringLiteral("UserNameFmt")), 7);
        EXPECT_TRUE(userName.contains(QLatin1Char('7')) && !userName.contains(QLatin1Char('%'))) << name;
        EXPECT_LE(userName.toUtf8().size(), 50) << name << ": longer than the USER_NAME column";
        const QString skipped = texts.value(QStringLiteral("SkippedInvalidDates"))
                                    .replace(QStringLiteral("%d"), QStringLiteral("3"));
        EXPECT_TRUE(skipped.contains(QLatin1Char('3')) && !skipped.contains(QLatin1Char('%'))) << name;
    }
}

TEST_F(LanguageFilesTest, EightBitTextsFitTheCodePageOfTheLanguage) {
    for (const LanguageFile& file : Files()) {
        const int codePage = AnsiCodePageOf(LangIdOf(file));
        const QMap<QString, QString> texts = MessageTexts(file);
        for (const char* key : AnsiTextKeys) {
            const QString text = texts.value(QLatin1String(key));
            EXPECT_EQ(FromAnsi(ToAnsi(text, codePage), codePage), text)
                << Utf8(file.FileName) << " " << key << " in code page " << codePage;
        }
    }
}

TEST_F(LanguageFilesTest, WindowElementsNameOnlyComponentsAndPropertiesTheWindowsHave) {
    for (const LanguageFile& file : Files()) {
        const WindowElementWalker walker(Windows(), file);
        EXPECT_TRUE(walker.Problems.isEmpty()) << Utf8(file.FileName) << ":\n" << Lines(walker.Problems);
        EXPECT_FALSE(walker.Settings.empty()) << Utf8(file.FileName);
    }
}

TEST_F(LanguageFilesTest, EveryTranslationCoversWhatTheEnglishFileSetsWithAsManyListEntries) {
    const WindowElementWalker english(Windows(), English());
    for (const LanguageFile& file : Files()) {
        const WindowElementWalker walker(Windows(), file);
        QStringList missing;
        for (const auto& [path, setting] : english.Settings) {
            const auto translated = walker.Settings.find(path);
            if (translated == walker.Settings.end()) {
                missing << path;
                continue;
            }
            // The code picks list entries by index (gender 0 to 3, unit 0 and 1).
            EXPECT_EQ(translated->second.Entries.size(), setting.Entries.size())
                << Utf8(file.FileName) << " " << Utf8(path);
            for (const QString& entry : translated->second.Entries)
                EXPECT_FALSE(entry.isEmpty()) << Utf8(file.FileName) << " " << Utf8(path);
            if (!setting.IsList && setting.IsWideText) {
                EXPECT_FALSE(translated->second.Value.isEmpty()) << Utf8(file.FileName) << " " << Utf8(path);
            }
        }
        EXPECT_TRUE(missing.isEmpty()) << Utf8(file.FileName) << " leaves untranslated:\n" << Lines(missing);
    }
}

// The whole file reaches the windows: a value that ended a window's translation early would
// leave the texts after it untouched.
TEST_F(LanguageFilesTest, SwitchingToEachLanguageSetsEveryTextOfItsFileOnTheOpenWindows) {
    LangMgr().LoadLanguageList(LanguageFolder(), false);
    for (const LanguageFile& file : Files()) {
        const QString name = AttributeOf(FirstChildElement(file.Root(), "Language"), "Name");
        LangMgr().SetLanguage(name);
        ASSERT_EQ(Utf8(LangMgr().CurrentLanguage()), Utf8(name));
        const WindowElementWalker walker(Windows(), file);
        for (const auto& [path, setting] : walker.Settings) {
            if (setting.IsList) {
                EXPECT_EQ(static_cast<TStrings*>(setting.Object)->Strings(), setting.Entries)
                    << Utf8(name) << " " << Utf8(path);
            } else if (setting.IsWideText) {
                EXPECT_TRUE(HoldsText(setting.Object, setting.Value))
                    << Utf8(name) << " " << Utf8(path) << " is not \"" << Utf8(setting.Value) << "\"";
            }
        }
    }
    LangMgr().SetLanguage(QStringLiteral("English"));
}

TEST_F(LanguageFilesTest, TheJapaneseFileIsShiftJisAndTheOthersAreUtf8) {
    bool sawJapanese = false;
    for (const LanguageFile& file : Files()) {
        const std::string name = Utf8(file.FileName);
        if (LangIdOf(file) != 1041) {
            EXPECT_EQ(Utf8(DeclaredEncoding(file.Bytes)), "utf-8") << name;
            EXPECT_TRUE(IsValidUtf8(file.Bytes)) << name;
            continue;
        }
        sawJapanese = true;
        EXPECT_EQ(Utf8(DeclaredEncoding(file.Bytes)), "shift-jis") << name;
        // Japanese text in Shift_JIS is no valid UTF-8, and it decodes and encodes back unchanged.
        EXPECT_FALSE(IsValidUtf8(file.Bytes)) << name;
        const QString decoded = FromAnsi(file.Bytes, 932);
        EXPECT_EQ(ToAnsi(decoded, 932), file.Bytes) << name;
        static const QRegularExpression kana(QStringLiteral("[\\x{3041}-\\x{30FF}]"));
        EXPECT_TRUE(decoded.contains(kana)) << name;
        // What the parser read is what the bytes say.
        EXPECT_TRUE(decoded.contains(
            QStringLiteral("<Logined>%1</Logined>").arg(MessageTexts(file).value(QStringLiteral("Logined")))))
            << name;
    }
    EXPECT_TRUE(sawJapanese);
}

} // namespace
