// SPDX-License-Identifier: MIT
// The statement texts the program sends, and what they do to the measurements.
#include "StoreFixture.h"

#include "store/Statements.h"

TEST(Statements, TextsAreExact) {
    const QDate from(2009, 3, 5);
    const QDate to(2009, 4, 15);
    const std::pair<QString, const char*> cases[] = {
        {SqlSelectAllUsers(), "select * from P_USERS order by USER_ID"},
        {SqlSelectUser(3), "select * from P_USERS where USER_ID = 3"},
        {SqlUpdatePassword(QStringLiteral("it's"), 2),
         "update P_USERS set PASSWD = 'it''s' where USER_ID = 2 "},
        {SqlUpdatePassword(QString(), 10), "update P_USERS set PASSWD = '' where USER_ID = 10 "},
        {SqlDeleteDay(1, from), "delete from P_DATA where (USER_ID = 1) and (THE_DATE='2009-03-05')"},
        {SqlInsertMeasurement(1, QDate(2009, 3, 12), 72.5, 23.4, 55.1, 38.2, 3.1),
         "insert into P_DATA(USER_ID, THE_DATE, WEIGHT, FAT, TBW, MUS, BONE) "
         "values ('1','2009-03-12','72.5','23.4','55.1','38.2','3.1')"},
        {SqlInsertMeasurement(10, QDate(2010, 12, 31), 100.0, 0.1 + 0.2, 50, 0, 2.0),
         "insert into P_DATA(USER_ID, THE_DATE, WEIGHT, FAT, TBW, MUS, BONE) "
         "values ('10','2010-12-31','100','0.3','50','0','2')"},
        {SqlListRange(2, from, to),
         "select * from P_DATA where (USER_ID = 2) and (THE_DATE >= '2009-03-05')  and "
         "(THE_DATE <= '2009-04-15' ) order by THE_DATE"},
        {SqlDeleteRow(42), "delete from P_DATA where ID = 42"},
        {SqlDeleteRange(2, from, to), "delete from P_DATA where (USER_ID = 2) and (THE_DATE >= '2009-03-05') "
                                      " and (THE_DATE <= '2009-04-15' )"},
        {SqlChartRange(2, from, to),
         "select * from P_DATA where (USER_ID = 2) and ((THE_DATE >= '2009-03-05')  and "
         "(THE_DATE <= '2009-04-15' )) order by THE_DATE"},
        {QuotedSql(QStringLiteral("'a''b'")), "'''a''''b'''"},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(text, QString::fromLatin1(expected));
}

TEST(Statements, FirstRunScriptIsTheSchemaLineThenTenUserLines) {
    const QStringList lines = SqlFirstRunScript(QStringLiteral("Jo's %d")).split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 11);
    EXPECT_EQ(lines[0], SqlSchema());
    EXPECT_EQ(lines[1], QStringLiteral("insert into P_USERS (USER_ID, USER_NAME) Values(1, 'Jo''s 1');"));
    EXPECT_EQ(lines[10], QStringLiteral("insert into P_USERS (USER_ID, USER_NAME) Values(10, 'Jo''s 10');"));
}

class MeasurementTest : public StoreTest {
protected:
    // One import: each day replaced inside one transaction, as the import dialog saves.
    void Import(int userId, const QList<std::pair<QDate, double>>& weights) {
        module_->StartTransaction();
        for (const auto& [day, weight] : weights) {
            module_->ExecuteSql(SqlDeleteDay(userId, day));
            module_->ExecuteSql(SqlInsertMeasurement(userId, day, weight, 20.5, 55, 40, 3.1));
        }
        module_->Commit();
    }

    QStringList Listed(const QString& sql) {
        QStringList rows;
        for (const TDataRow& row : module_->SelectRows(sql))
            rows << row.AsString(QStringLiteral("THE_DATE")) + QLatin1Char('=') +
                        row.AsString(QStringLiteral("WEIGHT"));
        return rows;
    }

    const QDate day1{2009, 3, 14};
    const QDate day2{2009, 3, 15};
    const QDate day3{2009, 3, 16};
};

TEST_F(MeasurementTest, TheSameDayImportedTwiceLeavesOneRowWithTheLaterValues) {
    Store();
    Import(1, {{day1, 70.0}, {day2, 70.5}});
    Import(2, {{day2, 90.0}});
    const int firstId =
        module_->SelectRows(SqlListRange(1, day2, day2)).at(0).AsInteger(QStringLiteral("ID"));

    Import(1, {{day2, 71.5}});
    const TRowSet rows = module_->SelectRows(SqlListRange(1, day2, day2));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].AsFloat(QStringLiteral("WEIGHT")), 71.5);
    EXPECT_NE(rows[0].AsInteger(QStringLiteral("ID")), firstId);
    EXPECT_EQ(Listed(SqlListRange(2, day1, day3)), QStringList({"2009-03-15=90"}));
    EXPECT_EQ(Count(QStringLiteral("select count(*) as N from P_DATA")), 3);
}

TEST_F(MeasurementTest, RangesIncludeBothBoundsAndEqualBoundsMeanOneDay) {
    Store();
    Import(1, {{day3, 72.0}, {day1, 70.0}, {day2, 71.0}});
    EXPECT_EQ(Listed(SqlListRange(1, day1, day3)),
              QStringList({"2009-03-14=70", "2009-03-15=71", "2009-03-16=72"}));
    EXPECT_EQ(Listed(SqlListRange(1, day2, day2)), QStringList({"2009-03-15=71"}));
    EXPECT_EQ(Listed(SqlChartRange(1, day2, day2)), QStringList({"2009-03-15=71"}));
    EXPECT_TRUE(Listed(SqlListRange(1, day3, day1)).isEmpty());

    module_->ExecuteSql(SqlDeleteRange(1, day2, day2));
    EXPECT_EQ(Listed(SqlListRange(1, day1, day3)), QStringList({"2009-03-14=70", "2009-03-16=72"}));
    const int id = module_->SelectRows(SqlListRange(1, day1, day1)).at(0).AsInteger(QStringLiteral("ID"));
    module_->ExecuteSql(SqlDeleteRow(id));
    EXPECT_EQ(Listed(SqlListRange(1, day1, day3)), QStringList({"2009-03-16=72"}));
}
