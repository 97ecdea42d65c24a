// SPDX-License-Identifier: MIT
#include "app/QtTranslations.h"

#include "lang/AnsiText.h"
#include "lang/LangMgr.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <memory>

void FollowCurrentLanguageWithQtTexts() {
    static std::unique_ptr<QTranslator> installed;
    if (installed) {
        QCoreApplication::removeTranslator(installed.get());
        installed.reset();
    }
    auto translator = std::make_unique<QTranslator>();
    const QLocale locale = LocaleOfLanguageId(LangMgr().CurrentLanguageId());
    if (translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(translator.get());
        installed = std::move(translator);
    }
}
