// SPDX-License-Identifier: MIT
// Reading rows: each column interpreted by its declared type, NULLs, names without regard to case.
#include "StoreFixture.h"

#include "store/Statements.h"
#include "store/ValueFormats.h"

TEST_F(StoreTest, ColumnsReadByTheirDeclaredType) {
    TdmMain& store = Store();
    // USER_ID INTEGER, THE_DATE DATE, the rest DECIMAL; values as earlier writers may have left them.
    store.ExecuteSql(QStringLiteral("insert into P_DATA(ID, USER_ID, THE_DATE, WEIGHT, FAT, TBW, MUS, BONE) "
                                    "values (7, 'abc', '2009-03-15', '70,5', '70.5', '20', NULL, '')"));
    const TDataRow row = store.SelectRows(QStringLiteral("select * from P_DATA")).at(0);

    struct Case {
        const char* column;
        const char* text;
        int integer;
        double number;
        bool isNull;
    };
    const Case cases[] = {
        {"ID", "7", 7, 7.0, false},         {"USER_ID", "0", 0, 0.0, false}, // not a number reads 0
        {"WEIGHT", "70,5", 0, 70.5, false}, // "," stays text, still read as a number
        {"FAT", "70.5", 70, 70.5, false},   {"TBW", "20", 20, 20.0, false},
        {"MUS", "", 0, 0.0, true},          {"BONE", "", 0, 0.0, false},
    };
    for (const Case& c : cases) {
        const QString column = QString::fromLatin1(c.column);
        EXPECT_EQ(row.AsString(column), QString::fromLatin1(c.text)) << c.column;
        EXPECT_EQ(row.AsInteger(column), c.integer) << c.column;
        EXPECT_DOUBLE_EQ(row.AsFloat(column), c.number) << c.column;
        EXPECT_EQ(row.IsNull(column), c.isNull) << c.column;
    }
    EXPECT_EQ(row.AsDate(QStringLiteral("THE_DATE")), QDate(2009, 3, 15));
    EXPECT_FALSE(row.AsDate(QStringLiteral("MUS")).isValid());
    EXPECT_EQ(row.AsString(QStringLiteral("the_date")), QStringLiteral("2009-03-15"));
    EXPECT_THROW(row.AsString(QStringLiteral("NO_SUCH_COLUMN")), std::invalid_argument);
}

TEST_F(StoreTest, ASelectWithoutRowsIsEmpty) {
    TdmMain& store = Store();
    EXPECT_TRUE(store.SelectRows(SqlSelectUser(11)).empty());
    EXPECT_TRUE(store.SelectRows(SqlListRange(1, QDate(2009, 1, 1), QDate(2009, 12, 31))).empty());
}

TEST(DecimalText, GeneralFormatWithAPointAndAtMostFifteenDigits) {
    const std::pair<double, const char*> cases[] = {
        {70.5, "70.5"},     {20.0, "20"},           {67.5, "67.5"},
        {0.1 + 0.2, "0.3"}, {123456.7, "123456.7"}, {1.0 / 3, "0.333333333333333"},
        {-0.0, "0"},        {-2.25, "-2.25"},
    };
    for (const auto& [value, text] : cases)
        EXPECT_EQ(DecimalText(value), QString::fromLatin1(text)) << text;
}

TEST(DecimalFromText, AcceptsPointOrComma) {
    const std::tuple<const char*, double, bool> cases[] = {
        {"70.5", 70.5, true}, {"70,5", 70.5, true}, {" 20 ", 20.0, true},
        {"abc", 0.0, false},  {"", 0.0, false},
    };
    for (const auto& [text, value, valid] : cases) {
        bool ok = !valid;
        EXPECT_DOUBLE_EQ(DecimalFromText(QString::fromLatin1(text), &ok), value) << text;
        EXPECT_EQ(ok, valid) << text;
    }
}

TEST(DateFromText, ReadsExactlyTheDaysOfTheCalendar) {
    const std::pair<const char*, QDate> cases[] = {
        {"2009-03-15", QDate(2009, 3, 15)},
        {"2024-02-29", QDate(2024, 2, 29)},
        {" 2024-01-05 ", QDate(2024, 1, 5)},
        {"2023-02-29", QDate()},
        {"2024-13-01", QDate()},
        {"0000-01-01", QDate()},
        {"2024-1-05", QDate()},
        {"2024-01-0x", QDate()},
        {"2024/01/05", QDate()},
        {"", QDate()},
    };
    for (const auto& [text, day] : cases)
        EXPECT_EQ(DateFromText(QString::fromLatin1(text)), day) << text;
}
