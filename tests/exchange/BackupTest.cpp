// SPDX-License-Identifier: MIT
#include "ExchangeFixture.h"

#include "exchange/DatabaseBackup.h"
#include "exchange/MeasurementImport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <sqlite3.h>

namespace {

const QDateTime Noon(QDate(2026, 3, 15), QTime(12, 0));

class DatabaseBackupTest : public StoreTest {
protected:
    QString Path(const char* name) const { return folder_.filePath(QString::fromLatin1(name)); }

    // A database made outside the program, from the statements given.
    QString MakeDatabase(const char* name, const char* sql) {
        const QString path = Path(name);
        sqlite3* db = nullptr;
        EXPECT_EQ(sqlite3_open(path.toUtf8().constData(), &db), SQLITE_OK);
        EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sql;
        sqlite3_close(db);
        return path;
    }

    // A second data module over a copy, to read what the copy holds.
    std::vector<TDayMean> DaysIn(const QString& path, int userId) {
        const QString copyFolder = folder_.filePath(QStringLiteral("read-") + QFileInfo(path).fileName());
        QDir().mkpath(copyFolder);
        QFile::remove(copyFolder + QStringLiteral("/MainDB.DB"));
        EXPECT_TRUE(QFile::copy(path, copyFolder + QStringLiteral("/MainDB.DB")));
        TdmMain copy(copyFolder, QString());
        return Stored(userId, &copy);
    }
};

TEST_F(DatabaseBackupTest, BackupIsAUsableCopyOfTheCommittedDatabase) {
    Store(1, Day("2026-03-01", 70));
    const QString target = Path("copy.DB");
    BackupDatabase(*store_, target);
    EXPECT_EQ(CheckBackupFile(target), TBackupCheck::Usable);
    EXPECT_EQ(DaysIn(target, 1), std::vector<TDayMean>{Day("2026-03-01", 70)});
    EXPECT_FALSE(QFileInfo::exists(target + QStringLiteral(".part")));
}

TEST_F(DatabaseBackupTest, BackupTakenWhileAnImportSavesHoldsNoneOfIt) {
    Store(1, Day("2026-03-01", 70));
    // The save is under way: half of its days are written, nothing is committed yet.
    store_->StartTransaction();
    Store(1, Day("2026-03-02", 71));
    Store(1, Day("2026-03-03", 72));
    const QString during = Path("during.DB");
    BackupDatabase(*store_, during);
    Store(1, Day("2026-03-04", 73));
    store_->Commit();
    EXPECT_EQ(CheckBackupFile(during), TBackupCheck::Usable);
    EXPECT_EQ(DaysIn(during, 1), std::vector<TDayMean>{Day("2026-03-01", 70)});
    const QString after = Path("after.DB");
    BackupDatabase(*store_, after);
    EXPECT_EQ(DaysIn(after, 1).size(), 4u);
}

TEST_F(DatabaseBackupTest, CheckRefusesWhatIsNotADatabaseOfTheProgram) {
    BackupDatabase(*store_, Path("good.DB"));
    QByteArray pages = [&] {
        QFile file(Path("good.DB"));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }();
    ASSERT_GT(pages.size(), 4096);
    // The second page (a table of the schema) overwritten, the file's header left intact.
    for (qsizetype i = 4096; i < 8192; ++i)
        pages[i] = static_cast<char>(0xA5);
    QFile damaged(Path("damaged.DB"));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write(pages);
    damaged.close();
    QFile text(Path("notes.txt"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("these are no pages of a database, but a text that is long enough to look like one\n");
    text.close();

    struct Case {
        QString path;
        TBackupCheck check;
    };
    const Case cases[] = {
        {Path("good.DB"), TBackupCheck::Usable},
        {Path("damaged.DB"), TBackupCheck::Damaged},
        {Path("notes.txt"), TBackupCheck::Damaged},
        {Path("missing.DB"), TBackupCheck::Unreadable},
        {folder_.path(), TBackupCheck::Unreadable},
        {MakeDatabase("foreign.DB", "create table NOTES (ID integer, BODY text)"), TBackupCheck::Foreign},
        {MakeDatabase("no-bone.DB", "create table P_USERS (USER_ID, USER_NAME, SEX, BIRTHDAY, BLOOD, HEIGHT, "
                                    "HEIGHT_EN, DAILY_EXERCISE, GOAL, COMMENT, PASSWD, PHOTO, THE_UNIT);"
                                    "create table P_DATA (ID, USER_ID, THE_DATE, WEIGHT, FAT, TBW, MUS)"),
         TBackupCheck::Foreign},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CheckBackupFile(c.path), c.check) << c.path.toStdString();
    EXPECT_FALSE(QFileInfo::exists(Path("missing.DB"))) << "a check creates nothing";
}

TEST_F(DatabaseBackupTest, RestoreSwapsTheFileInAndKeepsTheReplacedOneBeside) {
    Store(1, Day("2026-03-01", 70));
    BackupDatabase(*store_, Path("saved.DB"));
    Store(1, Day("2026-03-02", 71));
    const QString kept = RestoreDatabase(*store_, Path("saved.DB"), Noon);
    EXPECT_EQ(Stored(1), std::vector<TDayMean>{Day("2026-03-01", 70)});
    EXPECT_EQ(DaysIn(kept, 1).size(), 2u);
    EXPECT_EQ(QFileInfo(kept).dir(), QFileInfo(store_->DatabasePath()).dir());
    EXPECT_TRUE(store_->ChangedThisRun());
    // The restored database is the program's own again: it takes new rows.
    Store(1, Day("2026-03-03", 72));
    EXPECT_EQ(Stored(1).size(), 2u);
}

TEST_F(DatabaseBackupTest, RestoreOfAForeignOrDamagedFileChangesNothing) {
    Store(1, Day("2026-03-01", 70));
    const QString foreign = MakeDatabase("foreign.DB", "create table P_USERS (USER_ID integer)");
    const QStringList before = QDir(QFileInfo(store_->DatabasePath()).path()).entryList(QDir::Files);
    EXPECT_THROW(RestoreDatabase(*store_, foreign, Noon), AppError);
    EXPECT_THROW(RestoreDatabase(*store_, Path("missing.DB"), Noon), AppError);
    EXPECT_EQ(QDir(QFileInfo(store_->DatabasePath()).path()).entryList(QDir::Files), before);
    EXPECT_EQ(Stored(1), std::vector<TDayMean>{Day("2026-03-01", 70)});
}

TEST_F(DatabaseBackupTest, AutomaticBackupOnlyAfterAChangeAndOnlyTheNewestTen) {
    EXPECT_EQ(RunAutomaticBackup(*store_, Noon), QString()) << "nothing changed";
    EXPECT_TRUE(AutomaticBackups(*store_).isEmpty());
    Store(1, Day("2026-03-01", 70));
    QStringList written;
    for (int run = 0; run < 12; ++run)
        written.prepend(RunAutomaticBackup(*store_, Noon.addDays(run).addSecs(run)));
    EXPECT_EQ(QFileInfo(written.front()).fileName(), QStringLiteral("MainDB 2026-03-26 120011.DB"));
    EXPECT_EQ(AutomaticBackups(*store_), written.mid(0, KeptAutomaticBackups));
    EXPECT_EQ(CheckBackupFile(written.front()), TBackupCheck::Usable);
}

TEST_F(DatabaseBackupTest, ADeletedDayComesBackFromTheAutomaticBackup) {
    // One run imports a day and ends; the next deletes it by mistake and ends too.
    SaveImportedDays(*store_, 1, {Day("2026-03-01", 70, 20, 55, 38, 3), Day("2026-03-02", 71)});
    RunAutomaticBackup(*store_, Noon);
    store_->ExecuteSql(SqlDeleteRange(1, QDate(2026, 3, 1), QDate(2026, 3, 1)));
    RunAutomaticBackup(*store_, Noon.addSecs(60));
    const QStringList backups = AutomaticBackups(*store_);
    ASSERT_EQ(backups.size(), 2);
    RestoreDatabase(*store_, backups[1], Noon.addSecs(120));
    EXPECT_EQ(Stored(1),
              (std::vector<TDayMean>{Day("2026-03-01", 70, 20, 55, 38, 3), Day("2026-03-02", 71)}));
}

TEST_F(DatabaseBackupTest, AFailingBackupLeavesTheDatabaseAsItWas) {
    Store(1, Day("2026-03-01", 70));
    // A file where the backups folder should be: the folder cannot be made, as on a read-only disk.
    QFile blocker(AutomaticBackupFolder(*store_));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_THROW(RunAutomaticBackup(*store_, Noon), AppError);
    EXPECT_THROW(BackupDatabase(*store_, Path("no-such-folder/copy.DB")), AppError);
    EXPECT_THROW(BackupDatabase(*store_, store_->DatabasePath()), AppError);
    EXPECT_EQ(Stored(1), std::vector<TDayMean>{Day("2026-03-01", 70)});
    EXPECT_FALSE(QFileInfo::exists(Path("no-such-folder/copy.DB.part")));
}

} // namespace
