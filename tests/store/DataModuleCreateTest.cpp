// SPDX-License-Identifier: MIT
// Opening the database: the first run, an existing file, and runs that fail part-way.
#include "StoreFixture.h"

#include "core/AppError.h"
#include "store/Statements.h"

#include <QFile>
#include <QFileInfo>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const char* const UsersTable =
    "CREATE TABLE P_USERS (   USER_ID INTEGER NOT NULL,  USER_NAME VARCHAR(50),  SEX INTEGER,  BIRTHDAY "
    "DATE,  "
    "BLOOD VARCHAR(10),  HEIGHT INTEGER,  HEIGHT_EN DECIMAL,  DAILY_EXERCISE VARCHAR(30),  GOAL BLOB ,  "
    "COMMENT MEMO ,  PASSWD VARCHAR(20),  PHOTO BLOB ,  THE_UNIT INTEGER)";
const char* const DataTable =
    "CREATE TABLE P_DATA (  ID INTEGER PRIMARY KEY,  USER_ID INTEGER,  THE_DATE DATE,  "
    "WEIGHT DECIMAL,  FAT DECIMAL,  TBW DECIMAL,  MUS DECIMAL,  BONE DECIMAL )";
const char* const DayIndex = "CREATE INDEX P_DATA_USER_DAY ON P_DATA (USER_ID, THE_DATE)";
const char* const GoalsTable =
    "CREATE TABLE P_GOALS (USER_ID INTEGER NOT NULL PRIMARY KEY, GOAL_WEIGHT DECIMAL, TARGET_DATE DATE)";

QStringList UserNames(TdmMain& store) {
    QStringList names;
    for (const TDataRow& row : store.SelectRows(SqlSelectAllUsers()))
        names << QString::number(row.AsInteger(QStringLiteral("USER_ID"))) + QLatin1Char(':') +
                     row.AsString(QStringLiteral("USER_NAME"));
    return names;
}

} // namespace

TEST_F(StoreTest, FirstRunCreatesFolderFileTablesAndTenUsers) {
    ASSERT_FALSE(QFileInfo::exists(DbFolder()));
    TdmMain& store = Store();

    EXPECT_TRUE(QFileInfo(DbPath()).isFile());
    EXPECT_FALSE(QFileInfo::exists(DbPath() + QStringLiteral(".new")));
    const TRowSet schema = store.SelectRows(QStringLiteral("select sql from sqlite_master order by rowid"));
    ASSERT_EQ(schema.size(), 4u);
    EXPECT_EQ(schema[0].AsString(QStringLiteral("sql")), QString::fromUtf8(UsersTable));
    EXPECT_EQ(schema[1].AsString(QStringLiteral("sql")), QString::fromUtf8(DataTable));
    EXPECT_EQ(schema[2].AsString(QStringLiteral("sql")), QString::fromUtf8(DayIndex));
    EXPECT_EQ(schema[3].AsString(QStringLiteral("sql")), QString::fromUtf8(GoalsTable));

    EXPECT_EQ(UserNames(store), QStringList({"1:USER 1", "2:USER 2", "3:USER 3", "4:USER 4", "5:USER 5",
                                             "6:USER 6", "7:USER 7", "8:USER 8", "9:USER 9", "10:USER 10"}));
    const TDataRow user = store.SelectRows(SqlSelectUser(7)).at(0);
    for (const char* column : {"SEX", "BIRTHDAY", "BLOOD", "HEIGHT", "HEIGHT_EN", "DAILY_EXERCISE", "GOAL",
                               "COMMENT", "PASSWD", "PHOTO", "THE_UNIT"})
        EXPECT_TRUE(user.IsNull(QString::fromLatin1(column))) << column;
    EXPECT_EQ(Count(QStringLiteral("select count(*) as N from P_DATA")), 0);
}

TEST_F(StoreTest, DefaultNamesFollowTheLanguagesFormatEvenWithAnApostrophe) {
    TdmMain& store = Store(QStringLiteral("L'utilisateur n°%d"));
    const QStringList names = UserNames(store);
    ASSERT_EQ(names.size(), 10);
    EXPECT_EQ(names.first(), QStringLiteral("1:L'utilisateur n°1"));
    EXPECT_EQ(names.last(), QStringLiteral("10:L'utilisateur n°10"));
}

TEST(DefaultUserName, FillsTheSlotNumberIntoTheFormat) {
    struct Case {
        const char* format;
        int slot;
        const char* name;
    };
    const Case cases[] = {
        {"", 3, "USER 3"},           {"Benutzer %d", 10, "Benutzer 10"},
        {"用户%d", 2, "用户2"},      {"O'Neil %d", 1, "O'Neil 1"},
        {"%d%% user", 5, "5% user"}, {"nobody", 4, "nobody"},
        {"50%", 6, "50%"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DefaultUserName(QString::fromUtf8(c.format), c.slot), QString::fromUtf8(c.name))
            << c.format;
}

TEST_F(StoreTest, AnExistingEmptyFileIsUsedAsItIsAndTheFirstQueryFails) {
    QDir().mkpath(DbFolder());
    QFile empty(DbPath());
    ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
    empty.close();

    TdmMain& store = Store();
    EXPECT_EQ(ErrorOf([&] { store.SelectRows(SqlSelectAllUsers()); }),
              QStringLiteral("no such table: P_USERS"));
    EXPECT_EQ(QFileInfo(DbPath()).size(), 0);
}

TEST_F(StoreTest, AnExistingDatabaseIsOpenedUnchanged) {
    Store().ExecuteSql(QStringLiteral("delete from P_USERS where USER_ID > 2"));
    module_.reset();
    TdmMain& reopened = Store(QStringLiteral("other %d"));
    EXPECT_EQ(UserNames(reopened), QStringList({"1:USER 1", "2:USER 2"}));
}

// A file written before the day index and the goal table existed gains them when opened; its tables and rows
// stay as they were, and opening it again changes nothing.
TEST_F(StoreTest, AnExistingDatabaseWithoutTheDayIndexAndGoalTableGainsThem) {
    ASSERT_TRUE(QDir().mkpath(DbFolder()));
    {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(DbPath().toUtf8().constData(), &db), SQLITE_OK);
        const QByteArray script =
            SqlSchema().toUtf8() +
            " insert into P_USERS (USER_ID, USER_NAME) Values(1, 'Old');"
            " insert into P_DATA (USER_ID, THE_DATE, WEIGHT) Values(1, '2009-03-15', 70.5);";
        ASSERT_EQ(sqlite3_exec(db, script.constData(), nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(db);
    }
    const QString schemaQuery = QStringLiteral("select sql from sqlite_master order by rowid");
    for (int opening = 0; opening < 2; ++opening) {
        module_.reset();
        TdmMain& store = Store();
        const TRowSet schema = store.SelectRows(schemaQuery);
        ASSERT_EQ(schema.size(), 4u) << opening;
        EXPECT_EQ(schema[0].AsString(QStringLiteral("sql")), QString::fromUtf8(UsersTable));
        EXPECT_EQ(schema[1].AsString(QStringLiteral("sql")), QString::fromUtf8(DataTable));
        EXPECT_EQ(schema[2].AsString(QStringLiteral("sql")), QString::fromUtf8(DayIndex));
        EXPECT_EQ(schema[3].AsString(QStringLiteral("sql")), QString::fromUtf8(GoalsTable));
        EXPECT_EQ(UserNames(store), QStringList({"1:Old"}));
        EXPECT_EQ(Count(QStringLiteral("select count(*) as N from P_DATA where WEIGHT = 70.5")), 1);
    }
}

// Every statement that picks one user's days finds them through the index instead of a scan.
TEST_F(StoreTest, OneUsersDaysAreFoundThroughTheDayIndex) {
    TdmMain& store = Store();
    const QDate from(2009, 1, 1);
    const QDate to(2018, 12, 31);
    for (const QString& statement : {SqlDeleteDay(3, from), SqlListRange(3, from, to),
                                     SqlChartRange(3, from, to), SqlDeleteRange(3, from, to)}) {
        QString plan;
        for (const TDataRow& step : store.SelectRows(QStringLiteral("explain query plan ") + statement))
            plan += step.AsString(QStringLiteral("detail")) + QLatin1Char(';');
        EXPECT_TRUE(plan.contains(QStringLiteral("INDEX P_DATA_USER_DAY")))
            << statement.toStdString() << ": " << plan.toStdString();
    }
}

// A failing first-run script must leave no MainDB.DB behind; the next attempt creates it. The
// script is made to fail at its first write by a directory standing where SQLite keeps its journal.
TEST_F(StoreTest, AFailedFirstRunLeavesNoDatabaseAndTheNextAttemptCreatesIt) {
    const QString journal = DbPath() + QStringLiteral(".new-journal");
    ASSERT_TRUE(QDir().mkpath(journal + QStringLiteral("/blocker")));

    TdmMain store(DbFolder(), QString());
    const QString error = ErrorOf([&] { store.DataModuleCreate(); });
    EXPECT_NE(error, QStringLiteral("(no error)"));
    EXPECT_FALSE(QFileInfo::exists(DbPath()));
    EXPECT_FALSE(QFileInfo::exists(DbPath() + QStringLiteral(".new")));

    ASSERT_TRUE(QDir(journal).removeRecursively());
    store.DataModuleCreate();
    EXPECT_EQ(UserNames(store).size(), 10);
}

// A start killed half-way through the first run leaves the unfinished file and its journal; the
// next start throws both away and creates the database afresh.
TEST_F(StoreTest, AFirstRunKilledHalfWayIsRedoneOnTheNextStart) {
    ASSERT_TRUE(QDir().mkpath(DbFolder()));
    const QString unfinished = DbPath() + QStringLiteral(".new");
    const pid_t child = fork();
    if (child == 0) {
        sqlite3* db = nullptr;
        sqlite3_open(unfinished.toUtf8().constData(), &db);
        sqlite3_exec(db, "begin transaction", nullptr, nullptr, nullptr);
        sqlite3_exec(db, SqlSchema().toUtf8().constData(), nullptr, nullptr, nullptr);
        _exit(0); // dies inside the transaction
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(QFileInfo::exists(unfinished + QStringLiteral("-journal")));
    ASSERT_FALSE(QFileInfo::exists(DbPath()));

    TdmMain& store = Store();
    EXPECT_EQ(UserNames(store).size(), 10);
    EXPECT_FALSE(QFileInfo::exists(unfinished));
    EXPECT_FALSE(QFileInfo::exists(unfinished + QStringLiteral("-journal")));
}

// A file standing where the db folder should be: opening fails with the engine's text, and so
// does every later operation until the obstacle is gone; then the database is created.
TEST_F(StoreTest, AnOpenFailureIsRaisedAgainByEachOperationUntilItSucceeds) {
    QFile obstacle(DbFolder());
    ASSERT_TRUE(obstacle.open(QIODevice::WriteOnly));
    obstacle.close();

    TdmMain store(DbFolder(), QString());
    const QString openError = QStringLiteral("unable to open database file");
    EXPECT_EQ(ErrorOf([&] { store.DataModuleCreate(); }), openError);
    EXPECT_EQ(ErrorOf([&] { store.SelectRows(SqlSelectAllUsers()); }), openError);
    EXPECT_EQ(ErrorOf([&] { store.ExecuteSql(SqlDeleteRow(1)); }), openError);
    EXPECT_EQ(ErrorOf([&] { store.StartTransaction(); }), openError);

    ASSERT_TRUE(QFile::remove(DbFolder()));
    EXPECT_EQ(UserNames(store).size(), 10);
}

TEST_F(StoreTest, TheProcessWideModuleIsTheRegisteredOne) {
    SetDataModule(nullptr);
    EXPECT_THROW(dmMain(), std::logic_error);
    TdmMain& store = Store();
    SetDataModule(&store);
    EXPECT_EQ(&dmMain(), &store);
    SetDataModule(nullptr);
}
