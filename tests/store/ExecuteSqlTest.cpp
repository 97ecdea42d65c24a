// SPDX-License-Identifier: MIT
// Running scripts and statements: order, the first failure, transactions, bound values, locks.
#include "StoreFixture.h"

#include "core/AppError.h"
#include "store/Statements.h"

#include <QElapsedTimer>
#include <thread>

TEST_F(StoreTest, AScriptStopsAtItsFirstFailingStatement) {
    struct Case {
        const char* script;
        const char* error;
        const char* valuesLeft;
    };
    const Case cases[] = {
        {"insert into T values(1); insert into T values(2)", "(no error)", "1,2"},
        {"insert into T values(1);\r\n  -- nothing more\r\n  ", "(no error)", "1"},
        {"insert into T values(1); insert into NOPE values(2); insert into T values(3)",
         "no such table: NOPE", "1"},
        {"insert into T values(1); insert into T values(NULL); insert into T values(3)",
         "NOT NULL constraint failed: T.A", "1"},
        {"insert into T values(1); insert into T valuez(2); insert into T values(3)",
         "near \"valuez\": syntax error", "1"},
    };
    TdmMain& store = Store();
    for (const Case& c : cases) {
        store.ExecuteSql(QStringLiteral("drop table if exists T; create table T (A INTEGER NOT NULL)"));
        EXPECT_EQ(ErrorOf([&] { store.ExecuteSql(QString::fromUtf8(c.script)); }), QString::fromUtf8(c.error))
            << c.script;
        QStringList left;
        for (const TDataRow& row : store.SelectRows(QStringLiteral("select A from T order by rowid")))
            left << row.AsString(QStringLiteral("A"));
        EXPECT_EQ(left.join(QLatin1Char(',')), QString::fromUtf8(c.valuesLeft)) << c.script;
    }
}

TEST_F(StoreTest, ARolledBackTransactionLeavesNothingAndACommittedOneStays) {
    TdmMain& store = Store();
    store.StartTransaction();
    store.ExecuteSql(SqlInsertMeasurement(1, QDate(2009, 3, 1), 70, 20, 50, 40, 3));
    EXPECT_EQ(ErrorOf([&] { store.StartTransaction(); }),
              QStringLiteral("cannot start a transaction within a transaction"));
    store.RollBack();
    EXPECT_EQ(Count(QStringLiteral("select count(*) as N from P_DATA")), 0);

    store.StartTransaction();
    store.ExecuteSql(SqlInsertMeasurement(1, QDate(2009, 3, 1), 70, 20, 50, 40, 3));
    store.Commit();
    module_.reset();
    Store();
    EXPECT_EQ(Count(QStringLiteral("select count(*) as N from P_DATA")), 1);
}

TEST_F(StoreTest, WorkInATransactionIsCommittedWholeOrRolledBackWithItsErrorPassedOn) {
    TdmMain& store = Store();
    const QString count = QStringLiteral("select count(*) as N from P_DATA");
    EXPECT_EQ(ErrorOf([&] {
                  store.InTransaction([&] {
                      store.ExecuteSql(SqlInsertMeasurement(1, QDate(2009, 3, 1), 70, 20, 50, 40, 3));
                      store.ExecuteSql(QStringLiteral("insert into NO_SUCH_TABLE values (1)"));
                  });
              }),
              QStringLiteral("no such table: NO_SUCH_TABLE"));
    EXPECT_EQ(Count(count), 0);

    // The work may end the transaction itself; its own error is still the one passed on.
    EXPECT_EQ(ErrorOf([&] {
                  store.InTransaction([&] {
                      store.RollBack();
                      throw AppError(QStringLiteral("given up"));
                  });
              }),
              QStringLiteral("given up"));

    store.InTransaction(
        [&] { store.ExecuteSql(SqlInsertMeasurement(1, QDate(2009, 3, 2), 70, 20, 50, 40, 3)); });
    module_.reset();
    Store();
    EXPECT_EQ(Count(count), 1);
}

TEST_F(StoreTest, BoundValuesKeepTheirStorageClassAndNeverBecomeSql) {
    TdmMain& store = Store();
    store.ExecuteSql(QStringLiteral("create table T (V)"));
    const QVariantList values{QVariant(),
                              5,
                              qlonglong(1) << 40,
                              2.5,
                              QByteArray("\0'\0", 3),
                              QDate(2009, 3, 15),
                              QStringLiteral("it's"),
                              QString()};
    for (const QVariant& value : values)
        store.ExecuteSql(QStringLiteral("insert into T values(?)"), {value});

    QStringList stored;
    for (const TDataRow& row :
         store.SelectRows(QStringLiteral("select typeof(V) as K, V from T order by rowid")))
        stored << row.AsString(QStringLiteral("K")) + QLatin1Char('=') + row.AsString(QStringLiteral("V"));
    EXPECT_EQ(stored,
              QStringList({"null=", "integer=5", "integer=1099511627776", "real=2.5",
                           QString::fromUtf8("blob=\0'\0", 8), "text=2009-03-15", "text=it's", "text="}));
    EXPECT_EQ(store.SelectRows(QStringLiteral("select V from T where typeof(V) = 'blob'"))
                  .at(0)
                  .Value(QStringLiteral("V"))
                  .toByteArray(),
              QByteArray("\0'\0", 3));

    EXPECT_TRUE(store
                    .SelectRows(QStringLiteral("select * from P_USERS where USER_NAME = ?"),
                                {QStringLiteral("x' or '1'='1")})
                    .empty());
    EXPECT_EQ(store.SelectRows(QStringLiteral("select * from P_USERS where USER_ID = ?"), {3}).size(), 1u);
}

TEST_F(StoreTest, AStatementWithValuesTakesExactlyItsParametersAndOneStatement) {
    TdmMain& store = Store();
    EXPECT_THROW(store.SelectRows(QStringLiteral("select * from P_USERS where USER_ID = ?"), {}),
                 std::invalid_argument);
    EXPECT_THROW(store.ExecuteSql(QStringLiteral("delete from P_DATA where ID = ?"), {1, 2}),
                 std::invalid_argument);
    EXPECT_THROW(
        store.ExecuteSql(QStringLiteral("delete from P_DATA where ID = ?; delete from P_USERS"), {1}),
        std::invalid_argument);
    EXPECT_EQ(Count(QStringLiteral("select count(*) as N from P_USERS")), 10);
}

// Another process holding the file: the data module waits for it, and gives the engine's error
// only when the lock outlasts the wait.
TEST_F(StoreTest, ALockedDatabaseIsWaitedForThenReported) {
    TdmMain& store = Store();
    {
        RawConnection other(DbPath());
        other.Exec("begin exclusive transaction");
        std::thread releaser([&other] {
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            other.Exec("commit transaction");
        });
        EXPECT_EQ(store.SelectRows(SqlSelectAllUsers()).size(), 10u);
        releaser.join();
    }

    RawConnection holder(DbPath());
    holder.Exec("begin exclusive transaction");
    QElapsedTimer waited;
    waited.start();
    EXPECT_EQ(ErrorOf([&] { store.SelectRows(SqlSelectAllUsers()); }), QStringLiteral("database is locked"));
    EXPECT_GE(waited.elapsed(), 4000); // it did wait rather than fail at once
    holder.Exec("rollback transaction");
}
