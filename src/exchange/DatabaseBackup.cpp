// SPDX-License-Identifier: MIT
#include "exchange/DatabaseBackup.h"

#include "core/AppError.h"
#include "store/TdmMain.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sqlite3.h>

namespace {

[[noreturn]] void RaiseFileError(const QString& path) {
    throw AppError(QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path),
                                                QString::fromLocal8Bit(std::strerror(errno))));
}

// An engine connection closed however the scope is left.
class TConnection {
public:
    TConnection(const QString& path, int flags) {
        if (sqlite3_open_v2(path.toUtf8().constData(), &db_, flags, nullptr) != SQLITE_OK) {
            message_ = db_ ? QString::fromUtf8(sqlite3_errmsg(db_)) : QStringLiteral("out of memory");
            sqlite3_close(db_);
            db_ = nullptr;
        }
    }
    ~TConnection() { sqlite3_close_v2(db_); }
    TConnection(const TConnection&) = delete;
    TConnection& operator=(const TConnection&) = delete;

    sqlite3* get() const { return db_; }
    QString Error() const { return db_ ? QString::fromUtf8(sqlite3_errmsg(db_)) : message_; }

private:
    sqlite3* db_ = nullptr;
    QString message_;
};

void RemoveFile(const QString& path) {
    for (const char* suffix : {"", "-journal"})
        QFile::remove(path + QLatin1String(suffix));
}

// A writer that holds the file locked (another program, or a commit under way) is waited for this long.
constexpr int LockedWaitMs = 5000;

// Copies the main database of from into the file at target, whole, in one step of the backup, so
// that the copy is of one moment.
void CopyDatabase(sqlite3* from, const QString& target) {
    RemoveFile(target);
    TConnection to(target, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    if (!to.get())
        throw AppError(to.Error());
    sqlite3_backup* backup = sqlite3_backup_init(to.get(), "main", from, "main");
    if (!backup)
        throw AppError(to.Error());
    int rc;
    int waited = 0;
    while ((rc = sqlite3_backup_step(backup, -1)) == SQLITE_OK ||
           ((rc == SQLITE_BUSY || rc == SQLITE_LOCKED) && waited < LockedWaitMs))
        waited += sqlite3_sleep(5);
    sqlite3_backup_finish(backup);
    if (rc != SQLITE_DONE) {
        const QString message = to.Error();
        throw AppError(message.isEmpty() ? QString::fromUtf8(sqlite3_errstr(rc)) : message);
    }
}

void Rename(const QString& from, const QString& to) {
    if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0)
        RaiseFileError(to);
}

// Copies the database file at source, as its last commit left it, into a temporary file beside
// target and renames that into place. A connection of its own sees no transaction the program's
// connection has not committed yet.
void CopyDatabaseInto(const QString& source, const QString& target) {
    const QString partial = target + QStringLiteral(".part");
    try {
        TConnection from(source, SQLITE_OPEN_READONLY);
        if (!from.get())
            throw AppError(from.Error());
        CopyDatabase(from.get(), partial);
        Rename(partial, target);
    } catch (...) {
        RemoveFile(partial);
        throw;
    }
}

// The columns the program reads and writes, table by table.
const char* const UserColumns[] = {"USER_ID",   "USER_NAME",      "SEX",  "BIRTHDAY", "BLOOD",  "HEIGHT",
                                   "HEIGHT_EN", "DAILY_EXERCISE", "GOAL", "COMMENT",  "PASSWD", "PHOTO",
                                   "THE_UNIT"};
const char* const DataColumns[] = {"ID", "USER_ID", "THE_DATE", "WEIGHT", "FAT", "TBW", "MUS", "BONE"};

template <size_t N> bool HasColumns(sqlite3* db, const char* table, const char* const (&wanted)[N]) {
    sqlite3_stmt* statement = nullptr;
    const QByteArray sql = QByteArray("select name from pragma_table_info('") + table + "')";
    if (sqlite3_prepare_v2(db, sql.constData(), -1, &statement, nullptr) != SQLITE_OK) {
        sqlite3_finalize(statement);
        return false;
    }
    QSet<QString> names;
    while (sqlite3_step(statement) == SQLITE_ROW)
        names.insert(
            QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0))).toUpper());
    sqlite3_finalize(statement);
    for (const char* column : wanted)
        if (!names.contains(QLatin1String(column)))
            return false;
    return true;
}

// "ok" from PRAGMA integrity_check; false also when the engine cannot read the file as a database.
bool PassesIntegrityCheck(sqlite3* db) {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &statement, nullptr) != SQLITE_OK) {
        sqlite3_finalize(statement);
        return false;
    }
    bool ok = sqlite3_step(statement) == SQLITE_ROW &&
              qstrcmp(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)), "ok") == 0;
    ok = ok && sqlite3_step(statement) == SQLITE_DONE;
    sqlite3_finalize(statement);
    return ok;
}

QString Stamp(const QDateTime& moment) {
    return moment.toString(QStringLiteral("yyyy-MM-dd HHmmss"));
}

} // namespace

void BackupDatabase(TdmMain& store, const QString& target) {
    // Renamed over the open database, the copy would take its place under the program's connection.
    if (QFileInfo(target).canonicalFilePath() == QFileInfo(store.DatabasePath()).canonicalFilePath() &&
        QFileInfo::exists(target))
        throw AppError(QStringLiteral("%1 is the database itself.").arg(QDir::toNativeSeparators(target)));
    CopyDatabaseInto(store.DatabasePath(), target);
}

TBackupCheck CheckBackupFile(const QString& path) {
    if (!QFileInfo(path).isFile())
        return TBackupCheck::Unreadable;
    // Opened read-only and without creating anything: a check never changes the file it checks.
    TConnection db(path, SQLITE_OPEN_READONLY);
    if (!db.get())
        return TBackupCheck::Unreadable;
    if (!PassesIntegrityCheck(db.get()))
        return TBackupCheck::Damaged;
    if (!HasColumns(db.get(), "P_USERS", UserColumns) || !HasColumns(db.get(), "P_DATA", DataColumns))
        return TBackupCheck::Foreign;
    return TBackupCheck::Usable;
}

QString RestoreDatabase(TdmMain& store, const QString& source, const QDateTime& now) {
    if (CheckBackupFile(source) != TBackupCheck::Usable)
        throw AppError(
            QStringLiteral("%1 is not a database of this program.").arg(QDir::toNativeSeparators(source)));
    const QString database = store.DatabasePath();
    const QString staged = database + QStringLiteral(".restoring");
    QString kept =
        QFileInfo(database).dir().filePath(QStringLiteral("MainDB %1 replaced.DB").arg(Stamp(now)));

    // The chosen file is copied through the engine rather than byte by byte, so that a file
    // another program still writes arrives whole, and checked again where it will stay.
    CopyDatabaseInto(source, staged);
    if (CheckBackupFile(staged) != TBackupCheck::Usable) {
        RemoveFile(staged);
        throw AppError(
            QStringLiteral("%1 is not a database of this program.").arg(QDir::toNativeSeparators(source)));
    }
    // The replaced database, copied as it is now; kept until the person deletes it.
    try {
        CopyDatabaseInto(database, kept);
    } catch (...) {
        RemoveFile(staged);
        throw;
    }
    store.CloseForReplacement();
    try {
        Rename(staged, database);
    } catch (...) {
        RemoveFile(staged);
        throw;
    }
    return kept;
}

QString AutomaticBackupFolder(const TdmMain& store) {
    return QFileInfo(store.DatabasePath()).dir().filePath(QStringLiteral("backups"));
}

QStringList AutomaticBackups(const TdmMain& store) {
    QDir folder(AutomaticBackupFolder(store));
    static const QRegularExpression automaticName(
        QStringLiteral("^MainDB \\d{4}-\\d{2}-\\d{2} \\d{6}\\.DB$"));
    QStringList names = folder.entryList({QStringLiteral("MainDB *.DB")}, QDir::Files, QDir::Name);
    std::reverse(names.begin(), names.end());
    QStringList paths;
    for (const QString& name : names)
        if (automaticName.match(name).hasMatch())
            paths << folder.filePath(name);
    return paths;
}

QString RunAutomaticBackup(TdmMain& store, const QDateTime& now) {
    if (!store.ChangedThisRun())
        return QString();
    const QString folder = AutomaticBackupFolder(store);
    if (!QDir().mkpath(folder))
        RaiseFileError(folder);
    QString target = QDir(folder).filePath(QStringLiteral("MainDB %1.DB").arg(Stamp(now)));
    BackupDatabase(store, target);
    const QStringList backups = AutomaticBackups(store);
    for (qsizetype i = KeptAutomaticBackups; i < backups.size(); ++i)
        QFile::remove(backups[i]);
    return target;
}
