// SPDX-License-Identifier: MIT
// Writing back a user row read with SqlSelectUser: the caller's changes, NULLs as empty texts, and
// every untouched column exactly as it was.
#include "StoreFixture.h"

#include "store/Statements.h"

namespace {

const QByteArray BlobWithNulsAndQuote("\x00G'oal\x00\xff", 8);
const QByteArray PhotoBytes("\x89PNG\r\n\x1a\n\x00\x00'", 11);

} // namespace

TEST_F(StoreTest, SavingAFreshUserWritesTheChangesAndEmptyTextsForNulls) {
    TdmMain& store = Store();
    TDataRow user = store.SelectRows(SqlSelectUser(1)).at(0);
    user.SetValue(QStringLiteral("USER_NAME"), QStringLiteral("D'Arcy"));
    user.SetValue(QStringLiteral("SEX"), 1);
    user.SetValue(QStringLiteral("BIRTHDAY"), QDate(1980, 2, 29));
    user.SetValue(QStringLiteral("HEIGHT"), 170);
    user.SetValue(QStringLiteral("HEIGHT_EN"), 67.0);
    user.SetValue(QStringLiteral("COMMENT"), QStringLiteral("it's 'quoted'"));
    user.SetValue(QStringLiteral("THE_UNIT"), 0);
    store.SaveUserRow(user);

    const TDataRow saved = store.SelectRows(SqlSelectUser(1)).at(0);
    EXPECT_EQ(saved.AsString(QStringLiteral("USER_NAME")), QStringLiteral("D'Arcy"));
    EXPECT_EQ(saved.AsInteger(QStringLiteral("SEX")), 1);
    EXPECT_EQ(saved.AsDate(QStringLiteral("BIRTHDAY")), QDate(1980, 2, 29));
    EXPECT_EQ(saved.AsInteger(QStringLiteral("HEIGHT")), 170);
    EXPECT_EQ(saved.AsFloat(QStringLiteral("HEIGHT_EN")), 67.0);
    EXPECT_EQ(saved.AsString(QStringLiteral("COMMENT")), QStringLiteral("it's 'quoted'"));
    for (const char* column : {"BLOOD", "DAILY_EXERCISE", "GOAL", "PASSWD", "PHOTO"}) {
        EXPECT_FALSE(saved.IsNull(QString::fromLatin1(column))) << column;
        EXPECT_EQ(saved.AsString(QString::fromLatin1(column)), QString()) << column;
    }

    // Stored as the engine would have stored the quoted texts: numbers as numbers.
    RawConnection raw(DbPath());
    EXPECT_EQ(raw.Text("select typeof(SEX) || typeof(HEIGHT) || typeof(HEIGHT_EN) || typeof(THE_UNIT) || "
                       "typeof(BIRTHDAY) || typeof(PASSWD) from P_USERS where USER_ID = 1"),
              QStringLiteral("integerintegerintegerintegertexttext"));
    EXPECT_EQ(store.SelectRows(SqlSelectUser(2)).at(0).IsNull(QStringLiteral("PASSWD")), true)
        << "only the saved user changes";
}

TEST_F(StoreTest, SavingKeepsBlobsByteForByte) {
    TdmMain& store = Store();
    {
        RawConnection raw(DbPath());
        raw.SetUserBlob(2, "GOAL", BlobWithNulsAndQuote);
        raw.SetUserBlob(2, "PHOTO", PhotoBytes);
    }
    TDataRow user = store.SelectRows(SqlSelectUser(2)).at(0);
    user.SetValue(QStringLiteral("BLOOD"), QStringLiteral("O"));
    store.SaveUserRow(user);

    RawConnection raw(DbPath());
    EXPECT_EQ(raw.Text("select typeof(GOAL) || typeof(PHOTO) from P_USERS where USER_ID = 2"),
              QStringLiteral("blobblob"));
    EXPECT_EQ(raw.Column("select GOAL from P_USERS where USER_ID = 2"), BlobWithNulsAndQuote);
    EXPECT_EQ(raw.Column("select PHOTO from P_USERS where USER_ID = 2"), PhotoBytes);
    EXPECT_EQ(raw.Text("select BLOOD from P_USERS where USER_ID = 2"), QStringLiteral("O"));
}

TEST_F(StoreTest, APasswordWithAnApostropheIsStoredAsTyped) {
    TdmMain& store = Store();
    const QString password = QStringLiteral("pa'ss'); drop table P_USERS; --");
    store.ExecuteSql(SqlUpdatePassword(password, 4));
    EXPECT_EQ(store.SelectRows(SqlSelectUser(4)).at(0).AsString(QStringLiteral("PASSWD")), password);
    EXPECT_EQ(Count(QStringLiteral("select count(*) as N from P_USERS where PASSWD is not null")), 1);
}
