// SPDX-License-Identifier: MIT
// The store survives the program being killed at any moment: a writer process is killed with
// SIGKILL at random times while it saves imports or creates the database, and after every kill the
// file is checked as the next start would find it.
//
// BFS_CRASH_KILLS sets the kills per test (default 40); BFS_CRASH_SEED repeats a run.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <chrono>
#include <gtest/gtest.h>
#include <map>
#include <random>
#include <set>
#include <sqlite3.h>
#include <thread>

namespace {

constexpr int ImportDays = 10; // as the writer saves them

int KillCount() {
    bool ok = false;
    const int kills = qEnvironmentVariableIntValue("BFS_CRASH_KILLS", &ok);
    return ok && kills > 0 ? kills : 40;
}

unsigned Seed() {
    bool ok = false;
    const unsigned seed = qEnvironmentVariable("BFS_CRASH_SEED").toUInt(&ok);
    return ok ? seed : static_cast<unsigned>(std::random_device{}());
}

// One connection to the file as the next start of the program opens it: a hot journal left by the
// killed writer is rolled back here.
class Database {
public:
    explicit Database(const QString& path) {
        if (sqlite3_open_v2(path.toUtf8().constData(), &db_, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
            ADD_FAILURE() << "cannot open " << path.toStdString() << ": " << sqlite3_errmsg(db_);
    }
    ~Database() { sqlite3_close_v2(db_); }
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // Every row of a query, each column as text.
    std::vector<std::vector<QString>> Rows(const char* sql) {
        std::vector<std::vector<QString>> rows;
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(db_, sql, -1, &statement, nullptr) != SQLITE_OK) {
            ADD_FAILURE() << sql << ": " << sqlite3_errmsg(db_);
            return rows;
        }
        int rc;
        while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
            std::vector<QString> row;
            for (int i = 0; i < sqlite3_column_count(statement); ++i)
                row.push_back(
                    QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, i))));
            rows.push_back(row);
        }
        if (rc != SQLITE_DONE)
            ADD_FAILURE() << sql << ": " << sqlite3_errmsg(db_);
        sqlite3_finalize(statement);
        return rows;
    }

    QString IntegrityCheck() {
        const auto rows = Rows("PRAGMA integrity_check");
        return rows.empty() ? QStringLiteral("(no answer)") : rows.front().front();
    }

private:
    sqlite3* db_ = nullptr;
};

// A writer process, started and waited for until it says "ready".
class Writer {
public:
    explicit Writer(const QStringList& arguments) {
        process_.setProgram(QStringLiteral(BFS_CRASH_WRITER));
        process_.setArguments(arguments);
        process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process_.start();
        while (process_.waitForReadyRead(10000)) {
            output_ += process_.readAll();
            if (output_.contains("ready\n"))
                return;
        }
        ADD_FAILURE() << "writer never got ready: " << output_.constData();
    }

    // SIGKILL, and what the writer printed up to its death.
    QByteArray KillAfter(std::chrono::microseconds delay) {
        std::this_thread::sleep_for(delay);
        process_.kill();
        process_.waitForFinished(10000);
        return output_ + process_.readAll();
    }

private:
    QProcess process_;
    QByteArray output_;
};

// Every import is all there or not there at all: each day of a user holds exactly one row, and all
// of a user's days carry the same import mark. Returns the marks found, one per user that has rows.
std::map<QString, QString> CheckImports(Database& database, int kill) {
    std::map<QString, QString> markOfUser;
    for (const auto& row : database.Rows("select USER_ID, THE_DATE, count(*), min(WEIGHT), max(WEIGHT), "
                                         "min(BONE), max(BONE) from P_DATA group by USER_ID, THE_DATE")) {
        const QString& user = row[0];
        EXPECT_EQ(row[2], QStringLiteral("1")) << "kill " << kill << ": user " << user.toStdString()
                                               << " day " << row[1].toStdString() << " has several rows";
        EXPECT_TRUE(row[3] == row[4] && row[3] == row[5] && row[5] == row[6])
            << "kill " << kill << ": one day holds values of different imports";
        auto [it, inserted] = markOfUser.emplace(user, row[3]);
        EXPECT_TRUE(inserted || it->second == row[3])
            << "kill " << kill << ": user " << user.toStdString() << " holds imports "
            << it->second.toStdString() << " and " << row[3].toStdString() << " at once";
    }
    for (const auto& row : database.Rows("select USER_ID, count(*) from P_DATA group by USER_ID"))
        EXPECT_EQ(row[1], QString::number(ImportDays))
            << "kill " << kill << ": user " << row[0].toStdString() << " has a partial import";
    return markOfUser;
}

TEST(StoreCrashTest, ImportsKilledAtRandomAreWhollyPresentOrWhollyAbsent) {
    const unsigned seed = Seed();
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> delayUs(0, 150000);
    QTemporaryDir folder;
    const QString dbFolder = folder.filePath(QStringLiteral("db"));
    const QString dbPath = dbFolder + QStringLiteral("/MainDB.DB");
    const int kills = KillCount();
    long long commits = 0;
    long long lastCommitted = -1;
    int hotJournals = 0; // kills that interrupted a transaction while it wrote the file
    for (int kill = 0; kill < kills && !HasFailure(); ++kill) {
        const long long firstImport = 1000000LL * (kill + 1);
        Writer writer({QStringLiteral("import"), dbFolder, QString::number(firstImport)});
        const QByteArray output = writer.KillAfter(std::chrono::microseconds(delayUs(random)));
        const auto committed =
            QString::fromLatin1(output).split(QLatin1Char('\n')).filter(QStringLiteral("committed"));
        commits += committed.size();
        if (!committed.isEmpty())
            lastCommitted = committed.last().section(QLatin1Char(' '), 1).toLongLong();

        if (QFile::exists(dbPath + QStringLiteral("-journal")))
            ++hotJournals;
        Database database(dbPath);
        ASSERT_EQ(database.IntegrityCheck(), QStringLiteral("ok")) << "kill " << kill << ", seed " << seed;
        const std::map<QString, QString> marks = CheckImports(database, kill);
        // What the writer reported committed is there: its last import, or a later one whose commit
        // reached the file before the kill but whose report did not reach us.
        if (lastCommitted >= 0) {
            const QString user = QString::number(lastCommitted % 3 + 1);
            ASSERT_TRUE(marks.count(user))
                << "kill " << kill << ": committed import " << lastCommitted << " lost";
            EXPECT_GE(marks.at(user).toLongLong(), lastCommitted) << "kill " << kill << ", seed " << seed;
        }
        ASSERT_FALSE(HasFailure()) << "seed " << seed;
    }
    std::printf(
        "%d kills survived (%d left a journal to roll back), %lld imports committed in all, seed %u\n", kills,
        hotJournals, commits, seed);
    EXPECT_GT(commits, 0) << "no import ever finished: the kills came too early to test anything";
}

TEST(StoreCrashTest, FirstRunKilledAtRandomLeavesNoDatabaseOrAWholeOne) {
    const unsigned seed = Seed();
    std::mt19937 random(seed);
    QTemporaryDir folder;
    const QString dbFolder = folder.filePath(QStringLiteral("db"));
    const QString dbPath = dbFolder + QStringLiteral("/MainDB.DB");

    // How long one creation takes here, to spread the kills over it.
    auto started = std::chrono::steady_clock::now();
    {
        QProcess creation;
        creation.start(QStringLiteral(BFS_CRASH_WRITER), {QStringLiteral("create"), dbFolder});
        ASSERT_TRUE(creation.waitForFinished(30000));
        ASSERT_TRUE(QFile::exists(dbPath));
    }
    const auto creationUs =
        std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - started)
            .count();
    std::uniform_int_distribution<long long> delayUs(0, creationUs);

    const int kills = KillCount();
    int complete = 0;
    for (int kill = 0; kill < kills; ++kill) {
        QFile::remove(dbPath); // leftovers of an interrupted creation stay, as after a real crash
        Writer writer({QStringLiteral("create"), dbFolder});
        writer.KillAfter(std::chrono::microseconds(delayUs(random)));
        if (!QFile::exists(dbPath))
            continue;
        ++complete;
        Database database(dbPath);
        ASSERT_EQ(database.IntegrityCheck(), QStringLiteral("ok")) << "kill " << kill << ", seed " << seed;
        const auto tables =
            database.Rows("select name from sqlite_master where type = 'table' order by name");
        ASSERT_EQ(tables.size(), 3u) << "kill " << kill << ", seed " << seed;
        EXPECT_EQ(tables[0][0], QStringLiteral("P_DATA"));
        EXPECT_EQ(tables[1][0], QStringLiteral("P_GOALS"));
        EXPECT_EQ(tables[2][0], QStringLiteral("P_USERS"));
        ASSERT_EQ(database.Rows("select USER_ID from P_USERS").size(), 10u)
            << "kill " << kill << ", seed " << seed;
    }
    std::printf("%d kills during creation survived, %d left a complete database, seed %u\n", kills, complete,
                seed);
    // The next start still creates the database, whatever the kills left behind.
    QFile::remove(dbPath);
    QProcess creation;
    creation.start(QStringLiteral(BFS_CRASH_WRITER), {QStringLiteral("create"), dbFolder});
    ASSERT_TRUE(creation.waitForFinished(30000));
    Database database(dbPath);
    EXPECT_EQ(database.Rows("select USER_ID from P_USERS").size(), 10u);
}

} // namespace
