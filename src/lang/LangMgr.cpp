// SPDX-License-Identifier: MIT
#include "lang/LangMgr.h"

#include "core/WindowRegistry.h"
#include "lang/AnsiText.h"
#include "lang/TPublishedProperty.h"
#include "lang/TStrings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QPointer>
#include <QRegularExpression>
#include <QWidget>
#include <iterator>
#include <libxml/parser.h>
#include <libxml/tree.h>

namespace {

// Ends the translation of the window in progress; what was set before stays.
struct TranslationFailure {};

// Larger files are no language files; reading them would only risk memory.
constexpr qint64 MaxLanguageFileSize = 16 * 1024 * 1024;

// Characters of code 32 or less removed from both ends.
QString Trimmed(const QString& text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin].unicode() <= 32)
        ++begin;
    while (end > begin && text[end - 1].unicode() <= 32)
        --end;
    return text.mid(begin, end - begin);
}

bool IsXmlBlank(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\r') ||
           c == QLatin1Char('\n');
}

// A run of character data without its leading and trailing white space.
QString TrimmedRun(const xmlChar* content) {
    const QString run = QString::fromUtf8(reinterpret_cast<const char*>(content));
    qsizetype begin = 0;
    qsizetype end = run.size();
    while (begin < end && IsXmlBlank(run[begin]))
        ++begin;
    while (end > begin && IsXmlBlank(run[end - 1]))
        --end;
    return run.mid(begin, end - begin);
}

QString NameOf(const xmlNode* node) {
    return QString::fromUtf8(reinterpret_cast<const char*>(node->name));
}

// The text content of an element: its character data, each run trimmed, in document order.
// Entity references are left out: the files are read without loading or expanding entities.
QString TextContent(const xmlNode* element) {
    QString text;
    for (const xmlNode* child = element->children; child; child = child->next) {
        if (child->type == XML_TEXT_NODE || child->type == XML_CDATA_SECTION_NODE)
            text += TrimmedRun(child->content);
        else if (child->type == XML_ELEMENT_NODE)
            text += TextContent(child);
    }
    return text;
}

QString AttributeValue(const xmlAttr* attribute) {
    QString value;
    for (const xmlNode* part = attribute->children; part; part = part->next) {
        if (part->type == XML_TEXT_NODE)
            value += QString::fromUtf8(reinterpret_cast<const char*>(part->content));
    }
    return value;
}

// The value of the named attribute; present tells whether the element has it.
QString Attribute(const xmlNode* element, const char* name, bool* present = nullptr) {
    for (const xmlAttr* attribute = element->properties; attribute; attribute = attribute->next) {
        if (xmlStrEqual(attribute->name, reinterpret_cast<const xmlChar*>(name))) {
            if (present)
                *present = true;
            return AttributeValue(attribute);
        }
    }
    if (present)
        *present = false;
    return QString();
}

xmlNode* FirstChildElement(const xmlNode* parent, const char* name) {
    if (!parent)
        return nullptr;
    for (xmlNode* child = parent->children; child; child = child->next) {
        if (child->type == XML_ELEMENT_NODE &&
            xmlStrEqual(child->name, reinterpret_cast<const xmlChar*>(name)))
            return child;
    }
    return nullptr;
}

xmlNode* RootElement(_xmlDoc* document) {
    return document ? xmlDocGetRootElement(document) : nullptr;
}

// "LangId" as a decimal number; absent or not a number is 0.
int LanguageIdOf(const xmlNode* language) {
    bool ok = false;
    const int id = Attribute(language, "LangId").trimmed().toInt(&ok, 10);
    return ok ? id : 0;
}

// The files are trusted no further than their own bytes: nothing outside them is ever loaded
// (no DTD, no external entity, no network).
xmlParserInputPtr RefuseExternalEntity(const char*, const char*, xmlParserCtxtPtr) {
    return nullptr;
}

void InitXmlOnce() {
    static const bool initialised = [] {
        xmlInitParser();
        xmlSetExternalEntityLoader(RefuseExternalEntity);
        return true;
    }();
    (void)initialised;
}

// A component that component owns (at any depth), by name without regard to letter case.
class TOwnedComponents {
public:
    explicit TOwnedComponents(QObject* owner) : owner_(owner) {}

    QObject* Find(const QString& name) {
        if (!indexed_) {
            for (QObject* child : owner_->findChildren<QObject*>()) {
                const QString key = child->objectName().toCaseFolded();
                if (!key.isEmpty() && !byName_.contains(key))
                    byName_.insert(key, child);
            }
            indexed_ = true;
        }
        return byName_.value(name.toCaseFolded());
    }

private:
    QObject* owner_;
    bool indexed_ = false;
    QHash<QString, QPointer<QObject>> byName_;
};

bool IsAnsiStringList(const char* className) {
    return qstrcmp(className, "TMemoStrings") == 0 || qstrcmp(className, "TStringList") == 0 ||
           qstrcmp(className, "TComboBoxStrings") == 0;
}

bool IsWideStringList(const char* className) {
    return qstrcmp(className, "TWideMemoStrings") == 0 || qstrcmp(className, "TWideStringList") == 0 ||
           qstrcmp(className, "TWideComboBoxStrings") == 0;
}

} // namespace

void TLangMgr::DocumentDeleter::operator()(_xmlDoc* document) const {
    xmlFreeDoc(document);
}

TLangMgr::TLangMgr() : texts_(256), systemLanguageId_(SystemLanguageId) {
    InitXmlOnce();
}

TLangMgr::~TLangMgr() = default;

void TLangMgr::SetSystemLanguageIdSource(std::function<int()> source) {
    systemLanguageId_ = source ? std::move(source) : std::function<int()>(SystemLanguageId);
}

TLangMgr::Document TLangMgr::LoadFile(const QString& fileName) const {
    QFile file(QDir(languageFolder_).filePath(fileName));
    if (!file.open(QIODevice::ReadOnly) || file.size() > MaxLanguageFileSize)
        return nullptr;
    const QByteArray content = file.read(MaxLanguageFileSize + 1);
    if (content.isEmpty() || content.size() > MaxLanguageFileSize)
        return nullptr;
    const QByteArray url = QFile::encodeName(file.fileName());
    return Document(
        xmlReadMemory(content.constData(), int(content.size()), url.constData(), nullptr,
                      XML_PARSE_NONET | XML_PARSE_NOBLANKS | XML_PARSE_NOERROR | XML_PARSE_NOWARNING));
}

int TLangMgr::IndexOfLanguage(const QString& name) const {
    for (int i = 0; i < languages_.size(); ++i) {
        if (QString::compare(languages_[i], name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

int TLangMgr::CodePage() const {
    const int languageId = currentLanguageId_ != 0 ? currentLanguageId_ : systemLanguageId_();
    return AnsiCodePageOf(languageId);
}

void TLangMgr::LoadLanguageList(const QString& folder, bool chooseDefault) {
    languageFolder_ = folder;
    fileNames_.clear();
    languages_.clear();

    QDir dir(folder);
    if (!folder.isEmpty() && dir.exists()) {
        dir.setNameFilters({QStringLiteral("*.xml")});
        dir.setFilter(QDir::Files | QDir::Hidden);
        dir.setSorting(QDir::Unsorted);
        fileNames_ = dir.entryList();
    }

    for (int i = 0; i < fileNames_.size();) {
        const Document document = LoadFile(fileNames_[i]);
        const xmlNode* language = FirstChildElement(RootElement(document.get()), "Language");
        if (!language) {
            fileNames_.removeAt(i);
            continue;
        }
        languages_.append(Trimmed(Attribute(language, "Name")));
        ++i;
    }

    if (chooseDefault)
        SetLanguage(GetDefaultLanguage());
}

QString TLangMgr::GetDefaultLanguage() {
    const int systemId = systemLanguageId_();
    QString first;
    QString english;
    QString system;
    for (int i = 0; i < languages_.size(); ++i) {
        const Document document = LoadFile(fileNames_[i]);
        const xmlNode* language = FirstChildElement(RootElement(document.get()), "Language");
        if (!language)
            continue;
        if (i == 0)
            first = Trimmed(Attribute(language, "Name"));
        const int id = LanguageIdOf(language);
        if (id == 1033)
            english = Trimmed(Attribute(language, "Name"));
        // 0 is no language: a system whose language has no identifier matches no file.
        if (systemId != 0 && id == systemId) {
            bool present = false;
            const QString name = Attribute(language, "Name", &present);
            if (!present)
                continue;
            // Taken trimmed like every listed name, so that blanks around it cannot keep the
            // system's language from becoming current.
            system = Trimmed(name);
            break;
        }
    }
    if (!system.isEmpty())
        return system;
    if (!english.isEmpty())
        return english;
    return first;
}

void TLangMgr::SetLanguage(const QString& name) {
    const int index = IndexOfLanguage(name);
    if (index < 0)
        return;
    Document document = LoadFile(fileNames_[index]);
    xmlNode* root = RootElement(document.get());
    const xmlNode* language = FirstChildElement(root, "Language");
    if (!language)
        return;

    defaultNode_ = FirstChildElement(root, "Default");
    currentLanguageId_ = LanguageIdOf(language);
    currentDocument_ = std::move(document);

    const QList<QWidget*> registered = RegisteredWindows();
    QList<QPointer<QWidget>> windows;
    for (QWidget* window : registered)
        windows.append(window);
    const int windowCount = int(windows.size());
    for (int i = 0; i < windowCount; ++i) {
        if (windows[i])
            TranslateForm(windows[i], currentDocument_.get());
    }

    LoadTexts(FirstChildElement(root, "Text"));
    currentLanguage_ = name;

    // Windows compose texts from GetText, so they can do so only now that the texts are loaded.
    for (const QPointer<QWidget>& window : windows) {
        if (!window)
            continue;
        QEvent changed(LanguageChangedEvent());
        QCoreApplication::sendEvent(window, &changed);
    }
}

QEvent::Type LanguageChangedEvent() {
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

void TLangMgr::LoadTexts(_xmlNode* element) {
    texts_.Clear();
    if (!element)
        return;
    for (const xmlNode* child = element->children; child; child = child->next) {
        if (child->type == XML_ELEMENT_NODE)
            texts_.Add(NameOf(child), TextContent(child));
    }
}

QString TLangMgr::GetText(const char* key) const {
    if (!key)
        return QString();
    // Keys are short ASCII literals: widen them on the stack in one pass; anything else is UTF-8.
    char16_t wide[64];
    qsizetype length = 0;
    for (const char* c = key; *c; ++c) {
        if (uchar(*c) >= 0x80 || length == qsizetype(std::size(wide)))
            return texts_.LookupValue(QStringView(QString::fromUtf8(key)));
        wide[length++] = uchar(*c);
    }
    return texts_.LookupValue(QStringView(wide, length));
}

void TLangMgr::TranslateForm(QWidget* window) {
    if (!window || currentLanguage_.isEmpty())
        return;
    const int index = IndexOfLanguage(currentLanguage_);
    if (index < 0)
        return;
    const Document document = LoadFile(fileNames_[index]);
    if (document)
        TranslateForm(window, document.get());
}

void TLangMgr::TranslateForm(QWidget* window, _xmlDoc* document) {
    try {
        const xmlNode* root = RootElement(document);
        if (!window || !root)
            return;
        for (xmlNode* child = root->children; child; child = child->next) {
            if (child->type == XML_ELEMENT_NODE &&
                xmlStrEqual(child->name,
                            reinterpret_cast<const xmlChar*>(window->metaObject()->className()))) {
                TranslateComponent(window, child);
                return;
            }
        }
    } catch (...) {
        // The window keeps what was set before the failure.
    }
}

void TLangMgr::TranslateComponent(QObject* component, _xmlNode* element) {
    ApplyDefaults(component);
    for (const xmlAttr* attribute = element->properties; attribute; attribute = attribute->next)
        SetPropFromText(component, reinterpret_cast<const char*>(attribute->name), AttributeValue(attribute));

    TOwnedComponents owned(component);
    for (xmlNode* child = element->children; child; child = child->next) {
        if (child->type != XML_ELEMENT_NODE)
            continue;
        if (QObject* ownedComponent = owned.Find(NameOf(child))) {
            TranslateComponent(ownedComponent, child);
            continue;
        }
        QObject* object = GetObjectProperty(component, reinterpret_cast<const char*>(child->name));
        if (!object)
            continue;
        const char* className = object->metaObject()->className();
        auto* strings = qobject_cast<TStrings*>(object);
        const bool ansi = IsAnsiStringList(className);
        if (strings && (ansi || IsWideStringList(className))) {
            QString text = Trimmed(TextContent(child));
            if (ansi) // an 8-bit list keeps only what the code page can hold
                text = FromAnsi(ToAnsi(text, CodePage()), CodePage());
            QStringList entries;
            if (!text.isEmpty()) {
                static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
                for (const QString& line : text.split(lineBreak))
                    entries << Trimmed(line);
            }
            strings->SetStrings(entries);
        } else {
            ApplyAttributes(object, child);
        }
    }
}

void TLangMgr::ApplyDefaults(QObject* component) {
    if (!defaultNode_)
        return;
    for (const xmlAttr* attribute = defaultNode_->properties; attribute; attribute = attribute->next) {
        const QString name = QString::fromUtf8(reinterpret_cast<const char*>(attribute->name));
        if (!TPublishedProperty::Find(component, name).WriteText(AttributeValue(attribute), CodePage()))
            throw TranslationFailure();
    }
    for (xmlNode* child = defaultNode_->children; child; child = child->next) {
        if (child->type != XML_ELEMENT_NODE)
            continue;
        if (QObject* object = GetObjectProperty(component, reinterpret_cast<const char*>(child->name)))
            ApplyAttributes(object, child);
    }
}

void TLangMgr::ApplyAttributes(QObject* object, _xmlNode* element) {
    for (const xmlAttr* attribute = element->properties; attribute; attribute = attribute->next)
        SetPropFromText(object, reinterpret_cast<const char*>(attribute->name), AttributeValue(attribute));
}

void TLangMgr::SetPropFromText(QObject* object, const char* propName, const QString& value) {
    const TPublishedProperty property = TPublishedProperty::Find(object, QString::fromUtf8(propName));
    if (!property.IsValid() || !property.IsWritable())
        return;
    switch (property.Kind()) {
    case TPropKind::Integer:
    case TPropKind::Enumeration:
    case TPropKind::Set: {
        bool ok = false;
        const int number = value.toInt(&ok, 10);
        if (!ok)
            throw TranslationFailure();
        property.WriteNumber(number);
        break;
    }
    case TPropKind::AnsiText:
        property.WriteAnsiText(ToAnsi(value, CodePage()));
        break;
    case TPropKind::WideText:
        property.WriteWideText(value);
        break;
    case TPropKind::Object:
    case TPropKind::Other:
        break;
    }
}

QObject* TLangMgr::GetObjectProperty(QObject* object, const char* propName) {
    const TPublishedProperty property = TPublishedProperty::Find(object, QString::fromUtf8(propName));
    return property.IsValid() ? property.ReadObject() : nullptr;
}

TLangMgr& LangMgr() {
    static TLangMgr manager;
    return manager;
}

QString GetText(const char* key) {
    return LangMgr().GetText(key);
}
