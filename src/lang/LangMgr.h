// SPDX-License-Identifier: MIT
#pragma once

#include "lang/StringHash.h"

#include <QEvent>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class QObject;
class QWidget;
struct _xmlDoc;  // libxml2's parsed document
struct _xmlNode; // libxml2's element

// The language manager: lists the XML language files of one folder, makes one language current,
// hands out its message texts by key and applies its window texts to windows. One process-wide
// instance, LangMgr(). Nothing it does is ever reported to the person: bad files are passed over.
class TLangMgr {
public:
    TLangMgr();
    virtual ~TLangMgr();
    TLangMgr(const TLangMgr&) = delete;
    TLangMgr& operator=(const TLangMgr&) = delete;

    // Lists folder/*.xml (folder ends with a separator) and keeps the files that are language
    // files; with chooseDefault, makes GetDefaultLanguage() current.
    void LoadLanguageList(const QString& folder, bool chooseDefault);
    // The language matching the system's language identifier, else the last one with LangId 1033,
    // else the first listed; empty when there is none.
    QString GetDefaultLanguage();
    // Makes the named language (letter case ignored) current, translates every registered window
    // and loads the message texts, then sends every registered window LanguageChangedEvent() so
    // that it composes its own texts again. An unknown name or unusable file changes nothing.
    void SetLanguage(const QString& name);
    // Applies the current language file's element for window's class, parsing the file anew.
    void TranslateForm(QWidget* window);

    // The message text for key in the current language; empty when there is none. Case-sensitive.
    QString GetText(const char* key) const;

    const QString& CurrentLanguage() const { return currentLanguage_; }
    const QStringList& Languages() const { return languages_; }
    const QStringList& FileNames() const { return fileNames_; }
    const QString& LanguageFolder() const { return languageFolder_; }
    // The "LangId" of the current language's file; 0 while no language is current.
    int CurrentLanguageId() const { return currentLanguageId_; }

    // Where the system's Windows language identifier comes from; by default the process locale
    // (SystemLanguageId()). Tests set their own.
    void SetSystemLanguageIdSource(std::function<int()> source);

private:
    struct DocumentDeleter {
        void operator()(_xmlDoc* document) const;
    };
    using Document = std::unique_ptr<_xmlDoc, DocumentDeleter>;

    Document LoadFile(const QString& fileName) const;
    int IndexOfLanguage(const QString& name) const;
    int CodePage() const; // of the current language, else of the system's

    void TranslateForm(QWidget* window, _xmlDoc* document);
    void TranslateComponent(QObject* component, _xmlNode* element);
    void ApplyDefaults(QObject* component);
    void ApplyAttributes(QObject* object, _xmlNode* element);
    void SetPropFromText(QObject* object, const char* propName, const QString& value);
    QObject* GetObjectProperty(QObject* object, const char* propName);
    void LoadTexts(_xmlNode* element);

    QString languageFolder_;
    QString currentLanguage_;
    QStringList fileNames_;
    QStringList languages_;
    mutable TStringHash texts_;
    _xmlNode* defaultNode_ = nullptr;
    Document currentDocument_; // keeps defaultNode_ alive
    int currentLanguageId_ = 0;
    std::function<int()> systemLanguageId_;
};

// The event a window receives once a new language is current and its message texts are loaded.
QEvent::Type LanguageChangedEvent();

// The one process-wide language manager.
TLangMgr& LangMgr();

// LangMgr().GetText(key).
QString GetText(const char* key);
