// SPDX-License-Identifier: MIT
#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

// The statements the program sends to the database, one definition each. The texts are kept
// character for character (double blanks and trailing blanks included) because they are what the
// program has always sent; only numbers, dates and quoted literals are filled in.

// 'text' with each ' doubled: the one way user text enters a statement sent as text.
QString QuotedSql(const QString& text);

// The two tables, as one line holding two statements.
QString SqlSchema();
// The default name of user slot n: every "%d" of the format becomes n and "%%" becomes "%";
// an empty format means "USER %d".
QString DefaultUserName(const QString& userNameFormat, int slot);
// The schema line and the ten default users, lines separated by CR LF.
QString SqlFirstRunScript(const QString& userNameFormat);
// What the database gained after the two tables, created when missing: on a new file right after
// the first-run script, on an existing one each time it is opened. Every statement must leave a
// file that already has its object unchanged, and the two tables keep their text.
QStringList SqlSchemaAdditions();

QString SqlSelectAllUsers();
QString SqlSelectUser(int userId);
QString SqlUpdatePassword(const QString& password, int userId);
QString SqlDeleteDay(int userId, const QDate& day);
QString SqlInsertMeasurement(int userId, const QDate& day, double weight, double fat, double tbw, double mus,
                             double bone);
QString SqlListRange(int userId, const QDate& from, const QDate& to);
QString SqlDeleteRow(int id);
QString SqlDeleteRange(int userId, const QDate& from, const QDate& to);
QString SqlChartRange(int userId, const QDate& from, const QDate& to);
// The day and the five values of every measurement of one user, oldest first.
QString SqlUserDays(int userId);
// FIRST_DAY and LAST_DAY: the first and the last day one user measured (NULL without measurements).
QString SqlUserDaySpan(int userId);

// Statements compiled once and run for many rows, with ? placeholders.
QString SqlSelectUserDays();         // THE_DATE, ID of one user's rows, oldest first; binds USER_ID
QString SqlSelectUserValues();       // THE_DATE and the five values of one user's rows, oldest first
QString SqlSelectUserMeasurements(); // every row of one user, oldest first; binds USER_ID
QString SqlDeleteRowBound();         // binds ID
QString SqlInsertMeasurementBound(); // binds USER_ID, THE_DATE, WEIGHT, FAT, TBW, MUS, BONE
