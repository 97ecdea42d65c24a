// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

// Where the program keeps its files. Beside the executable in a build tree (a writable folder with
// Lang/ beside the executable); otherwise the per-user folders, with the language files read from
// the installed share/.
class AppPaths {
public:
    AppPaths(QString configFolder, QString dataFolder, QString languageFolder);
    // dataSubfolder keeps a second program built beside the first (the demo) apart from it.
    static AppPaths ForExecutable(const QString& dataSubfolder = QString());

    QString SettingsPath() const;   // .../my.ini
    QString DatabaseFolder() const; // .../db
    QString DatabasePath() const;   // .../db/MainDB.DB
    QString LanguageFolder() const; // .../Lang/ (ends with a separator)
    QString LockPath() const;       // .../running.lock, held while a program uses the folder

private:
    QString configFolder_;
    QString dataFolder_;
    QString languageFolder_;
};
