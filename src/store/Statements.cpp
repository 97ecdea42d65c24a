// SPDX-License-Identifier: MIT
#include "store/Statements.h"

#include "store/Goals.h"
#include "store/ValueFormats.h"

#include <QStringList>

QString QuotedSql(const QString& text) {
    QString quoted = text;
    quoted.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + quoted + QLatin1Char('\'');
}

QString SqlSchema() {
    return QStringLiteral(
        "CREATE TABLE P_USERS (   USER_ID INTEGER NOT NULL,  USER_NAME VARCHAR(50),  SEX INTEGER,  "
        "BIRTHDAY DATE,  BLOOD VARCHAR(10),  HEIGHT INTEGER,  HEIGHT_EN DECIMAL,  DAILY_EXERCISE "
        "VARCHAR(30),  GOAL BLOB ,  COMMENT MEMO ,  PASSWD VARCHAR(20),  PHOTO BLOB ,  THE_UNIT "
        "INTEGER);CREATE TABLE P_DATA (  ID INTEGER PRIMARY KEY,  USER_ID INTEGER,  THE_DATE DATE,  "
        "WEIGHT DECIMAL,  FAT DECIMAL,  TBW DECIMAL,  MUS DECIMAL,  BONE DECIMAL );");
}

QString DefaultUserName(const QString& userNameFormat, int slot) {
    const QString format = userNameFormat.isEmpty() ? QStringLiteral("USER %d") : userNameFormat;
    QString name;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar next = i + 1 < format.size() ? format.at(i + 1) : QChar();
        if (format.at(i) == QLatin1Char('%') && next == QLatin1Char('d')) {
            name += QString::number(slot);
            ++i;
        } else if (format.at(i) == QLatin1Char('%') && next == QLatin1Char('%')) {
            name += QLatin1Char('%');
            ++i;
        } else {
            name += format.at(i);
        }
    }
    return name;
}

QString SqlFirstRunScript(const QString& userNameFormat) {
    QStringList lines{SqlSchema()};
    for (int slot = 1; slot <= 10; ++slot)
        lines << QStringLiteral("insert into P_USERS (USER_ID, USER_NAME) Values(%1, %2);")
                     .arg(slot)
                     .arg(QuotedSql(DefaultUserName(userNameFormat, slot)));
    return lines.join(QStringLiteral("\r\n"));
}

QStringList SqlSchemaAdditions() {
    return {
        // The import replaces each day with a delete by user and day, and the list and chart read
        // one user's date range: without it each of them scans the whole table.
        QStringLiteral("CREATE INDEX IF NOT EXISTS P_DATA_USER_DAY ON P_DATA (USER_ID, THE_DATE)"),
        // The users' goals; after the index, so that a file without the two tables gains nothing.
        SqlCreateGoalsTable(),
    };
}

QString SqlSelectAllUsers() {
    return QStringLiteral("select * from P_USERS order by USER_ID");
}

QString SqlSelectUser(int userId) {
    return QStringLiteral("select * from P_USERS where USER_ID = %1").arg(userId);
}

QString SqlUpdatePassword(const QString& password, int userId) {
    return QStringLiteral("update P_USERS set PASSWD = ") + QuotedSql(password) +
           QStringLiteral(" where USER_ID = %1 ").arg(userId);
}

QString SqlDeleteDay(int userId, const QDate& day) {
    return QStringLiteral("delete from P_DATA where (USER_ID = %1) and (THE_DATE=%2)")
        .arg(userId)
        .arg(QuotedSql(DateText(day)));
}

QString SqlInsertMeasurement(int userId, const QDate& day, double weight, double fat, double tbw, double mus,
                             double bone) {
    const QStringList values{QString::number(userId), DateText(day),    DecimalText(weight), DecimalText(fat),
                             DecimalText(tbw),        DecimalText(mus), DecimalText(bone)};
    return QStringLiteral("insert into P_DATA(USER_ID, THE_DATE, WEIGHT, FAT, TBW, MUS, BONE) values ('") +
           values.join(QStringLiteral("','")) + QStringLiteral("')");
}

QString SqlListRange(int userId, const QDate& from, const QDate& to) {
    return QStringLiteral(
               "select * from P_DATA where (USER_ID = %1) and (THE_DATE >= %2)  and (THE_DATE <= %3 ) "
               "order by THE_DATE")
        .arg(userId)
        .arg(QuotedSql(DateText(from)), QuotedSql(DateText(to)));
}

QString SqlDeleteRow(int id) {
    return QStringLiteral("delete from P_DATA where ID = %1").arg(id);
}

QString SqlDeleteRange(int userId, const QDate& from, const QDate& to) {
    return QStringLiteral(
               "delete from P_DATA where (USER_ID = %1) and (THE_DATE >= %2)  and (THE_DATE <= %3 )")
        .arg(userId)
        .arg(QuotedSql(DateText(from)), QuotedSql(DateText(to)));
}

QString SqlChartRange(int userId, const QDate& from, const QDate& to) {
    return QStringLiteral(
               "select * from P_DATA where (USER_ID = %1) and ((THE_DATE >= %2)  and (THE_DATE <= %3 )) "
               "order by THE_DATE")
        .arg(userId)
        .arg(QuotedSql(DateText(from)), QuotedSql(DateText(to)));
}

QString SqlUserDays(int userId) {
    return QStringLiteral("select THE_DATE, WEIGHT, FAT, TBW, MUS, BONE from P_DATA where USER_ID = %1 order "
                          "by THE_DATE")
        .arg(userId);
}

QString SqlUserDaySpan(int userId) {
    return QStringLiteral(
               "select min(THE_DATE) as FIRST_DAY, max(THE_DATE) as LAST_DAY from P_DATA where USER_ID = %1")
        .arg(userId);
}

QString SqlSelectUserDays() {
    return QStringLiteral("select THE_DATE, ID from P_DATA where USER_ID = ? order by THE_DATE");
}

QString SqlSelectUserValues() {
    return QStringLiteral(
        "select THE_DATE, WEIGHT, FAT, TBW, MUS, BONE from P_DATA where USER_ID = ? order by THE_DATE");
}

QString SqlSelectUserMeasurements() {
    return QStringLiteral("select * from P_DATA where USER_ID = ? order by THE_DATE");
}

QString SqlDeleteRowBound() {
    return QStringLiteral("delete from P_DATA where ID = ?");
}

QString SqlInsertMeasurementBound() {
    return QStringLiteral(
        "insert into P_DATA(USER_ID, THE_DATE, WEIGHT, FAT, TBW, MUS, BONE) values (?, ?, ?, ?, ?, ?, ?)");
}
