// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QLocale>
#include <QString>

// 8-bit "ANSI" text as the program's list cells, spreadsheet cells and 8-bit properties hold it:
// encoded in the Windows code page that belongs to the current language.

// The Windows language identifier of a locale (en_US 1033, zh_CN 2052, de_DE 1031 ...); a locale
// without an identifier of its own takes its language's main one; 0 when the language is unknown.
int WindowsLanguageIdOf(const QLocale& locale);
// The locale of a Windows language identifier; the C locale for unknown ones.
QLocale LocaleOfLanguageId(int languageId);
// WindowsLanguageIdOf(QLocale::system()).
int SystemLanguageId();

// The Windows ANSI code page of a language identifier (1252 Western, 1250 Central European,
// 1251 Cyrillic, 932 Japanese, 936 Simplified Chinese ...); 1252 for unknown ones.
int AnsiCodePageOf(int languageId);
// The code page of LangMgr()'s current language, or of the system's language while none is current.
int AnsiCodePage();

// Characters the code page lacks become '?'.
QByteArray ToAnsi(const QString& text, int codePage = AnsiCodePage());
QString FromAnsi(const QByteArray& text, int codePage = AnsiCodePage());
