// SPDX-License-Identifier: MIT
#include "core/AppPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

QString withSeparator(QString folder) {
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}

} // namespace

AppPaths::AppPaths(QString configFolder, QString dataFolder, QString languageFolder)
    : configFolder_(withSeparator(std::move(configFolder))),
      dataFolder_(withSeparator(std::move(dataFolder))),
      languageFolder_(withSeparator(std::move(languageFolder))) {}

AppPaths AppPaths::ForExecutable(const QString& dataSubfolder) {
    const QString exeFolder = QCoreApplication::applicationDirPath();
    // A build tree has the language files beside the executable; an installed program keeps them in
    // share/ and must not write beside itself even when it could (run by root, say).
    if (QFileInfo(exeFolder).isWritable() && QFileInfo::exists(exeFolder + QStringLiteral("/Lang"))) {
        const QString data =
            dataSubfolder.isEmpty() ? exeFolder : exeFolder + QLatin1Char('/') + dataSubfolder;
        QDir().mkpath(data);
        return AppPaths(data, data, exeFolder + QStringLiteral("/Lang"));
    }
    const QString config = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    const QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(config);
    QDir().mkpath(data);
    return AppPaths(config, data,
                    QDir::cleanPath(exeFolder + QStringLiteral("/../share/body-fat-scale/Lang")));
}

QString AppPaths::SettingsPath() const {
    return configFolder_ + QStringLiteral("my.ini");
}
QString AppPaths::DatabaseFolder() const {
    return dataFolder_ + QStringLiteral("db");
}
QString AppPaths::DatabasePath() const {
    return DatabaseFolder() + QStringLiteral("/MainDB.DB");
}
QString AppPaths::LockPath() const {
    return dataFolder_ + QStringLiteral("running.lock");
}
QString AppPaths::LanguageFolder() const {
    return languageFolder_;
}
