// SPDX-License-Identifier: MIT
#pragma once

#include "store/TDataRow.h"

#include <QString>
#include <QVariantList>
#include <functional>
#include <vector>

struct sqlite3;

// The data module: the program's one connection to its database file db/MainDB.DB. Construction
// never fails; DataModuleCreate opens the file or, on the first run, creates it with its tables and
// the ten default users. Every operation raises AppError with the engine's own error text.
//
// When the file could not be opened, each later operation tries again (creating it if it is still
// missing) and raises the same error while it fails.
class TdmMain {
public:
    // userNameFormat: the language's "UserNameFmt"; empty means "USER %d".
    TdmMain(const QString& databaseFolder, const QString& userNameFormat);
    ~TdmMain();
    TdmMain(const TdmMain&) = delete;
    TdmMain& operator=(const TdmMain&) = delete;

    void DataModuleCreate();

    // Runs the statements of script one after another; the first failure raises and stops the rest.
    void ExecuteSql(const QString& script);
    // Runs one statement with its ? placeholders bound to params, each with its storage class:
    // null QVariant NULL, integers, double, QByteArray blob, QDate yyyy-mm-dd text, anything else text.
    void ExecuteSql(const QString& statement, const QVariantList& params);

    // Runs one statement once for each entry of rows, compiled once; the first failure raises.
    void ExecuteForEach(const QString& statement, const std::vector<QVariantList>& rows);

    TRowSet SelectRows(const QString& statement);
    TRowSet SelectRows(const QString& statement, const QVariantList& params);

    void StartTransaction();
    void Commit();
    void RollBack();
    // Runs work in one transaction: commits when it returns, rolls back and passes the error on
    // when it (or the commit) raises, so that the store is left as it was.
    void InTransaction(const std::function<void()>& work);

    // Writes back a row read with SqlSelectUser and then changed: every column, NULL ones as the
    // empty text, the others with their values as read or as set.
    void SaveUserRow(const TDataRow& row);

    QString DatabasePath() const { return databasePath_; }

    // Closes the connection so that the file can be replaced; the next operation opens it again.
    // Replacing the file counts as a change of this run.
    void CloseForReplacement();
    // Whether any row was written or the file replaced since the program started.
    bool ChangedThisRun() const;

private:
    sqlite3* Connection();
    void Open();
    void CreateDatabase();

    QString databaseFolder_;
    QString databasePath_;
    QString userNameFormat_;
    sqlite3* db_ = nullptr;
    bool replaced_ = false;
};

// The process-wide data module. The entry sequence owns it and registers it here; tests register
// their own. dmMain() throws std::logic_error when none is registered.
TdmMain& dmMain();
void SetDataModule(TdmMain* module);
