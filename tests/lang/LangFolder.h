// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

// A fresh language folder per test, with helpers to write language files into it.
class TLangFolder {
public:
    QString Path() const { return dir_.path() + QLatin1Char('/'); }

    void Write(const QString& fileName, const QByteArray& content) const {
        QFile file(QDir(dir_.path()).filePath(fileName));
        file.open(QIODevice::WriteOnly);
        file.write(content);
    }

    void Remove(const QString& fileName) const { QFile::remove(QDir(dir_.path()).filePath(fileName)); }

    // A UTF-8 language file: a Language element with name and LangId, then body.
    void WriteLanguage(const QString& fileName, const QString& name, int langId,
                       const QString& body = {}) const {
        Write(fileName, LanguageXml(name, langId, body).toUtf8());
    }

    static QString LanguageXml(const QString& name, int langId, const QString& body) {
        return QStringLiteral("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<Root>\n"
                              "  <Language Name=\"%1\" LangId=\"%2\" Author=\"tests\"/>\n%3\n</Root>\n")
            .arg(name)
            .arg(langId)
            .arg(body);
    }

private:
    QTemporaryDir dir_;
};
