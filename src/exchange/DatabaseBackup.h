// SPDX-License-Identifier: MIT
#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

class TdmMain;

// Copies of the database file: taken while the program runs, checked before one is put back, and
// made by themselves when the program ends. Every operation raises AppError with the engine's or
// the file system's text and leaves the database as it was.

// Writes a consistent copy of the open database to target through the engine's online backup:
// first under a temporary name beside it, renamed into place once complete.
void BackupDatabase(TdmMain& store, const QString& target);

// Whether path holds a database the program can use: the engine opens it, it passes its integrity
// check, and P_USERS and P_DATA have their columns.
enum class TBackupCheck { Usable, Unreadable, Damaged, Foreign };
TBackupCheck CheckBackupFile(const QString& path);

// Puts the database at source in place of the open one, after CheckBackupFile found it usable (raises
// otherwise). The replaced file stays beside the database, named by the moment it was replaced; its
// path is returned. The swap is a rename, so the database is either the old file or the new one.
QString RestoreDatabase(TdmMain& store, const QString& source, const QDateTime& now);

// The copy made when the program ends, if the database changed in this run: in the folder "backups"
// beside the database, named by date and time ("MainDB 2026-03-15 081500.DB"); only the newest
// KeptAutomaticBackups stay. Returns the path written, empty when nothing had changed.
inline constexpr int KeptAutomaticBackups = 10;
QString AutomaticBackupFolder(const TdmMain& store);
QString RunAutomaticBackup(TdmMain& store, const QDateTime& now);
// The automatic backups there are, newest first.
QStringList AutomaticBackups(const TdmMain& store);
