// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>
#include <libxml/parser.h>
#include <libxml/tree.h>
#include <memory>
#include <vector>

// One shipped language file as bytes and as the parsed tree the language manager reads.
struct LanguageFile {
    struct DocumentDeleter {
        void operator()(xmlDoc* document) const { xmlFreeDoc(document); }
    };

    QString FileName;
    QByteArray Bytes;
    std::unique_ptr<xmlDoc, DocumentDeleter> Document; // none when the file does not parse

    xmlNode* Root() const { return Document ? xmlDocGetRootElement(Document.get()) : nullptr; }
};

inline QString SourceDir() {
    const QByteArray fromEnvironment = qgetenv("BFS_SOURCE_DIR");
    return fromEnvironment.isEmpty() ? QStringLiteral(BFS_SOURCE_DIR_AT_BUILD)
                                     : QString::fromLocal8Bit(fromEnvironment);
}

inline QString LanguageFolder() {
    return SourceDir() + QStringLiteral("/resources/Lang/");
}

// Parsed as the language manager parses: white space dropped, nothing fetched from outside.
inline std::vector<LanguageFile> LoadLanguageFiles() {
    std::vector<LanguageFile> files;
    const QDir folder(LanguageFolder());
    for (const QString& name : folder.entryList({QStringLiteral("*.xml")}, QDir::Files, QDir::Name)) {
        QFile file(folder.filePath(name));
        LanguageFile language;
        language.FileName = name;
        if (file.open(QIODevice::ReadOnly))
            language.Bytes = file.readAll();
        language.Document.reset(
            xmlReadMemory(language.Bytes.constData(), int(language.Bytes.size()), nullptr, nullptr,
                          XML_PARSE_NONET | XML_PARSE_NOBLANKS | XML_PARSE_NOERROR | XML_PARSE_NOWARNING));
        files.push_back(std::move(language));
    }
    return files;
}

inline QString NameOf(const xmlNode* node) {
    return QString::fromUtf8(reinterpret_cast<const char*>(node->name));
}

inline std::vector<xmlNode*> ChildElements(const xmlNode* parent) {
    std::vector<xmlNode*> children;
    for (xmlNode* child = parent ? parent->children : nullptr; child; child = child->next) {
        if (child->type == XML_ELEMENT_NODE)
            children.push_back(child);
    }
    return children;
}

inline xmlNode* FirstChildElement(const xmlNode* parent, const char* name) {
    for (xmlNode* child : ChildElements(parent)) {
        if (NameOf(child) == QLatin1String(name))
            return child;
    }
    return nullptr;
}

inline QString AttributeOf(const xmlNode* element, const char* name) {
    xmlChar* value = xmlGetProp(element, reinterpret_cast<const xmlChar*>(name));
    const QString text = value ? QString::fromUtf8(reinterpret_cast<const char*>(value)) : QString();
    xmlFree(value);
    return text;
}

inline QString TextOf(const xmlNode* element) {
    xmlChar* content = xmlNodeGetContent(element);
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(content)).trimmed();
    xmlFree(content);
    return text;
}

// The entries of a list property element, as window translation makes them.
inline QStringList ListEntries(const xmlNode* element) {
    QStringList entries;
    const QString text = TextOf(element);
    if (text.isEmpty())
        return entries;
    for (const QString& line : text.split(QLatin1Char('\n')))
        entries << line.trimmed();
    return entries;
}
