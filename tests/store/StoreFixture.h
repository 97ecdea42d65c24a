// SPDX-License-Identifier: MIT
#pragma once

#include "core/AppError.h"
#include "store/TdmMain.h"

#include <QDir>
#include <QString>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <sqlite3.h>

// The message of the AppError the action raises, or "(no error)".
inline QString ErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const AppError& error) {
        return error.message();
    }
    return QStringLiteral("(no error)");
}

// A second connection to a database file, bypassing the data module: to plant values the program
// never writes (blobs), to inspect storage classes, and to hold locks.
class RawConnection {
public:
    explicit RawConnection(const QString& path) {
        if (sqlite3_open_v2(path.toUtf8().constData(), &db_, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
            ADD_FAILURE() << "cannot open " << path.toStdString();
    }
    ~RawConnection() { sqlite3_close_v2(db_); }
    RawConnection(const RawConnection&) = delete;
    RawConnection& operator=(const RawConnection&) = delete;

    void Exec(const char* sql) {
        char* error = nullptr;
        if (sqlite3_exec(db_, sql, nullptr, nullptr, &error) != SQLITE_OK)
            ADD_FAILURE() << sql << ": " << (error ? error : "");
        sqlite3_free(error);
    }

    // The first column of the first row, as text (empty when there is no row).
    QString Text(const char* sql) { return QString::fromUtf8(Column(sql)); }

    // The first column of the first row, byte for byte.
    QByteArray Column(const char* sql) {
        sqlite3_stmt* statement = nullptr;
        QByteArray result;
        if (sqlite3_prepare_v2(db_, sql, -1, &statement, nullptr) != SQLITE_OK)
            ADD_FAILURE() << sql << ": " << sqlite3_errmsg(db_);
        else if (sqlite3_step(statement) == SQLITE_ROW)
            result = QByteArray(static_cast<const char*>(sqlite3_column_blob(statement, 0)),
                                sqlite3_column_bytes(statement, 0));
        sqlite3_finalize(statement);
        return result;
    }

    // Sets one column of one user to a blob.
    void SetUserBlob(int userId, const char* column, const QByteArray& bytes) {
        const QByteArray sql = QByteArray("update P_USERS set ") + column + " = ? where USER_ID = ?";
        sqlite3_stmt* statement = nullptr;
        sqlite3_prepare_v2(db_, sql.constData(), -1, &statement, nullptr);
        sqlite3_bind_blob(statement, 1, bytes.constData(), static_cast<int>(bytes.size()), SQLITE_TRANSIENT);
        sqlite3_bind_int(statement, 2, userId);
        if (sqlite3_step(statement) != SQLITE_DONE)
            ADD_FAILURE() << sql.constData() << ": " << sqlite3_errmsg(db_);
        sqlite3_finalize(statement);
    }

private:
    sqlite3* db_ = nullptr;
};

// Each test gets its own folder; db/ under it does not exist until the data module makes it.
class StoreTest : public ::testing::Test {
protected:
    QString DbFolder() const { return folder_.filePath(QStringLiteral("db")); }
    QString DbPath() const { return DbFolder() + QStringLiteral("/MainDB.DB"); }

    // A data module over the test's folder, opened (and created on first use).
    TdmMain& Store(const QString& userNameFormat = QString()) {
        module_ = std::make_unique<TdmMain>(DbFolder(), userNameFormat);
        module_->DataModuleCreate();
        return *module_;
    }

    int Count(const QString& sql) { return module_->SelectRows(sql).at(0).AsInteger(QStringLiteral("N")); }

    QTemporaryDir folder_;
    std::unique_ptr<TdmMain> module_;
};
