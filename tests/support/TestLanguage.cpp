// SPDX-License-Identifier: MIT
#include "support/TestLanguage.h"

#include "lang/LangMgr.h"

#include <QDir>
#include <QFile>

QString UseTestLanguage(const QString& parentFolder, const QMap<QString, QString>& texts, int langId) {
    QString body;
    for (auto it = texts.cbegin(); it != texts.cend(); ++it)
        if (!it.value().isNull())
            body += QStringLiteral("<%1>%2</%1>").arg(it.key(), it.value().toHtmlEscaped());
    static int languageNumber = 0;
    const QString name = QStringLiteral("Test%1").arg(++languageNumber);
    const QString folder = parentFolder + QStringLiteral("/Lang") + name + QLatin1Char('/');
    QDir().mkpath(folder);
    QFile file(folder + QStringLiteral("test.xml"));
    if (!file.open(QIODevice::WriteOnly))
        return QString();
    file.write(QStringLiteral("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<Root><Language Name=\"%1\" "
                              "LangId=\"%2\"/><Text>%3</Text></Root>\n")
                   .arg(name)
                   .arg(langId)
                   .arg(body)
                   .toUtf8());
    file.close();
    LangMgr().LoadLanguageList(folder, false);
    LangMgr().SetLanguage(name);
    return LangMgr().CurrentLanguage() == name ? name : QString();
}
