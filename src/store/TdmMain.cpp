// SPDX-License-Identifier: MIT
#include "store/TdmMain.h"

#include "core/AppError.h"
#include "store/Statements.h"
#include "store/ValueFormats.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sqlite3.h>
#include <stdexcept>

namespace {

// Another process holding the file locked is waited for this long before its error is raised.
constexpr int BusyTimeoutMs = 5000;

const QString BeginTransaction = QStringLiteral("begin transaction");
const QString CommitTransaction = QStringLiteral("commit transaction");
const QString RollbackTransaction = QStringLiteral("rollback transaction");

[[noreturn]] void RaiseEngineError(sqlite3* db) {
    throw AppError(QString::fromUtf8(sqlite3_errmsg(db)));
}

// Finalizes a compiled statement however the scope is left.
class CompiledStatement {
public:
    explicit CompiledStatement(sqlite3_stmt* statement) : statement_(statement) {}
    ~CompiledStatement() { sqlite3_finalize(statement_); }
    CompiledStatement(const CompiledStatement&) = delete;
    CompiledStatement& operator=(const CompiledStatement&) = delete;
    sqlite3_stmt* get() const { return statement_; }

private:
    sqlite3_stmt* statement_;
};

sqlite3* OpenConnection(const QString& path, int flags) {
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &db, flags, nullptr);
    if (rc != SQLITE_OK) {
        const QString message =
            db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(rc));
        sqlite3_close(db);
        throw AppError(message);
    }
    sqlite3_busy_timeout(db, BusyTimeoutMs);
    return db;
}

void StepToEnd(sqlite3* db, sqlite3_stmt* statement) {
    int rc;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
    }
    if (rc != SQLITE_DONE)
        RaiseEngineError(db);
}

void RunScript(sqlite3* db, const QString& script) {
    const QByteArray utf8 = script.toUtf8();
    const char* rest = utf8.constData();
    const char* const end = rest + utf8.size();
    while (rest < end) {
        sqlite3_stmt* raw = nullptr;
        const char* next = nullptr;
        const int rc = sqlite3_prepare_v2(db, rest, static_cast<int>(end - rest), &raw, &next);
        CompiledStatement statement(raw);
        if (rc != SQLITE_OK)
            RaiseEngineError(db);
        if (next <= rest)
            break;
        rest = next;
        if (raw) // null when only white space or a comment was left
            StepToEnd(db, raw);
    }
}

// Compiles the one statement of text; raises when anything but white space follows it.
sqlite3_stmt* CompileSingle(sqlite3* db, const QByteArray& utf8) {
    sqlite3_stmt* raw = nullptr;
    const char* next = nullptr;
    if (sqlite3_prepare_v2(db, utf8.constData(), static_cast<int>(utf8.size()), &raw, &next) != SQLITE_OK) {
        sqlite3_finalize(raw);
        RaiseEngineError(db);
    }
    const QByteArray rest(next, utf8.constData() + utf8.size() - next);
    if (!rest.trimmed().isEmpty()) {
        sqlite3_finalize(raw);
        throw std::invalid_argument("one statement expected, more text follows: " + rest.toStdString());
    }
    return raw;
}

// SQLite treats a null pointer as NULL, so empty texts and blobs must point somewhere.
const char* NonNullData(const QByteArray& bytes) {
    return bytes.isNull() ? "" : bytes.constData();
}

void BindParams(sqlite3* db, sqlite3_stmt* statement, const QVariantList& params) {
    if (params.size() != sqlite3_bind_parameter_count(statement))
        throw std::invalid_argument("statement takes " +
                                    std::to_string(sqlite3_bind_parameter_count(statement)) +
                                    " parameters, " + std::to_string(params.size()) + " given");
    for (int i = 0; i < params.size(); ++i) {
        const QVariant& value = params.at(i);
        const int index = i + 1;
        int rc;
        if (value.isNull()) {
            rc = sqlite3_bind_null(statement, index);
        } else {
            switch (value.typeId()) {
            case QMetaType::Bool:
            case QMetaType::Int:
            case QMetaType::UInt:
            case QMetaType::Long:
            case QMetaType::LongLong:
            case QMetaType::Short:
            case QMetaType::UShort:
                rc = sqlite3_bind_int64(statement, index, value.toLongLong());
                break;
            case QMetaType::Double:
            case QMetaType::Float:
                rc = sqlite3_bind_double(statement, index, value.toDouble());
                break;
            case QMetaType::QByteArray: {
                const QByteArray bytes = value.toByteArray();
                rc = sqlite3_bind_blob(statement, index, NonNullData(bytes), static_cast<int>(bytes.size()),
                                       SQLITE_TRANSIENT);
                break;
            }
            default: {
                const QByteArray text = value.typeId() == QMetaType::QDate ? DateText(value.toDate()).toUtf8()
                                                                           : value.toString().toUtf8();
                rc = sqlite3_bind_text(statement, index, NonNullData(text), static_cast<int>(text.size()),
                                       SQLITE_TRANSIENT);
                break;
            }
            }
        }
        if (rc != SQLITE_OK)
            RaiseEngineError(db);
    }
}

QVariant ColumnValue(sqlite3_stmt* statement, int column) {
    switch (sqlite3_column_type(statement, column)) {
    case SQLITE_INTEGER:
        return QVariant(static_cast<qlonglong>(sqlite3_column_int64(statement, column)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(statement, column));
    case SQLITE_TEXT: {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
        return QVariant(QString::fromUtf8(text, sqlite3_column_bytes(statement, column)));
    }
    case SQLITE_BLOB: {
        const auto* bytes = static_cast<const char*>(sqlite3_column_blob(statement, column));
        const int size = sqlite3_column_bytes(statement, column);
        return QVariant(QByteArray(bytes ? bytes : "", size)); // a zero-length blob has no pointer
    }
    default:
        return QVariant();
    }
}

TRowSet ReadRows(sqlite3* db, sqlite3_stmt* statement) {
    TRowSet rows;
    if (!statement)
        return rows;
    auto columns = std::make_shared<TDataRow::Columns>();
    const int count = sqlite3_column_count(statement);
    for (int i = 0; i < count; ++i) {
        columns->names.push_back(QString::fromUtf8(sqlite3_column_name(statement, i)));
        columns->declaredTypes.push_back(QString::fromUtf8(sqlite3_column_decltype(statement, i)));
    }
    int rc;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
        std::vector<QVariant> values;
        values.reserve(static_cast<size_t>(count));
        for (int i = 0; i < count; ++i)
            values.push_back(ColumnValue(statement, i));
        rows.emplace_back(columns, std::move(values));
    }
    if (rc != SQLITE_DONE)
        RaiseEngineError(db);
    return rows;
}

// Brings an existing file up to the schema additions. A file that cannot take them (read-only,
// locked by another program, or without its tables) is used as it is: the program works without
// them, and the next start tries again.
void AddMissingSchemaIfPossible(sqlite3* db) {
    for (const QString& statement : SqlSchemaAdditions()) {
        try {
            RunScript(db, statement);
        } catch (const AppError&) {
            return;
        }
    }
}

// A file left by an interrupted first run, with the journal SQLite may have kept beside it.
void RemoveUnfinishedDatabase(const QString& path) {
    for (const char* suffix : {"", "-journal"})
        QFile::remove(path + QLatin1String(suffix));
}

TdmMain* registeredModule = nullptr;

} // namespace

TdmMain::TdmMain(const QString& databaseFolder, const QString& userNameFormat)
    : databaseFolder_(databaseFolder), databasePath_(databaseFolder + QStringLiteral("/MainDB.DB")),
      userNameFormat_(userNameFormat) {}

TdmMain::~TdmMain() {
    sqlite3_close_v2(db_);
}

void TdmMain::DataModuleCreate() {
    Connection();
}

sqlite3* TdmMain::Connection() {
    if (!db_)
        Open();
    return db_;
}

void TdmMain::CloseForReplacement() {
    sqlite3_close_v2(db_);
    db_ = nullptr;
    replaced_ = true;
}

bool TdmMain::ChangedThisRun() const {
    return replaced_ || (db_ && sqlite3_total_changes(db_) > 0);
}

void TdmMain::Open() {
    // A folder that cannot be made shows up as the engine's error when the file is opened.
    QDir().mkpath(databaseFolder_);
    // An existing file keeps its tables as they are, even when it has none.
    const bool existed = QFileInfo::exists(databasePath_);
    if (!existed)
        CreateDatabase();
    db_ = OpenConnection(databasePath_, SQLITE_OPEN_READWRITE);
    if (existed)
        AddMissingSchemaIfPossible(db_);
}

// The new file is filled under another name and renamed into place only once it is complete, so
// an interrupted first run never leaves a MainDB.DB without tables behind: the next start finds no
// file and creates it again.
void TdmMain::CreateDatabase() {
    const QString unfinishedPath = databasePath_ + QStringLiteral(".new");
    RemoveUnfinishedDatabase(unfinishedPath);
    sqlite3* db = OpenConnection(unfinishedPath, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    try {
        RunScript(db, BeginTransaction);
        RunScript(db, SqlFirstRunScript(userNameFormat_));
        for (const QString& statement : SqlSchemaAdditions())
            RunScript(db, statement);
        RunScript(db, CommitTransaction);
    } catch (...) {
        sqlite3_close_v2(db);
        RemoveUnfinishedDatabase(unfinishedPath);
        throw;
    }
    if (sqlite3_close(db) != SQLITE_OK) {
        const QString message = QString::fromUtf8(sqlite3_errmsg(db));
        sqlite3_close_v2(db);
        RemoveUnfinishedDatabase(unfinishedPath);
        throw AppError(message);
    }
    if (std::rename(QFile::encodeName(unfinishedPath).constData(),
                    QFile::encodeName(databasePath_).constData()) != 0) {
        const QString message = QString::fromLocal8Bit(std::strerror(errno));
        RemoveUnfinishedDatabase(unfinishedPath);
        throw AppError(message);
    }
}

void TdmMain::ExecuteSql(const QString& script) {
    RunScript(Connection(), script);
}

void TdmMain::ExecuteSql(const QString& statement, const QVariantList& params) {
    sqlite3* db = Connection();
    CompiledStatement compiled(CompileSingle(db, statement.toUtf8()));
    if (!compiled.get())
        return;
    BindParams(db, compiled.get(), params);
    StepToEnd(db, compiled.get());
}

void TdmMain::ExecuteForEach(const QString& statement, const std::vector<QVariantList>& rows) {
    sqlite3* db = Connection();
    CompiledStatement compiled(CompileSingle(db, statement.toUtf8()));
    if (!compiled.get())
        return;
    for (const QVariantList& params : rows) {
        BindParams(db, compiled.get(), params);
        StepToEnd(db, compiled.get());
        sqlite3_reset(compiled.get());
    }
}

TRowSet TdmMain::SelectRows(const QString& statement) {
    return SelectRows(statement, QVariantList());
}

TRowSet TdmMain::SelectRows(const QString& statement, const QVariantList& params) {
    sqlite3* db = Connection();
    CompiledStatement compiled(CompileSingle(db, statement.toUtf8()));
    if (!compiled.get())
        return TRowSet();
    BindParams(db, compiled.get(), params);
    return ReadRows(db, compiled.get());
}

void TdmMain::StartTransaction() {
    ExecuteSql(BeginTransaction);
}

void TdmMain::Commit() {
    ExecuteSql(CommitTransaction);
}

void TdmMain::RollBack() {
    ExecuteSql(RollbackTransaction);
}

void TdmMain::InTransaction(const std::function<void()>& work) {
    StartTransaction();
    try {
        work();
        Commit();
    } catch (...) {
        try {
            RollBack();
        } catch (const std::exception&) {
            // The engine has already ended the transaction; the first error is the one to pass on.
        }
        throw;
    }
}

void TdmMain::SaveUserRow(const TDataRow& row) {
    QStringList assignments;
    QVariantList params;
    for (int i = 0; i < row.ColumnCount(); ++i) {
        assignments << row.ColumnName(i) + QStringLiteral("=?");
        const QVariant value = row.ValueAt(i);
        params << (value.isNull() ? QVariant(QStringLiteral("")) : value);
    }
    const QVariant userId = row.Value(QStringLiteral("USER_ID"));
    params << (userId.isNull() ? QVariant(QStringLiteral("")) : userId);
    ExecuteSql(QStringLiteral("update P_USERS set ") + assignments.join(QLatin1Char(',')) +
                   QStringLiteral(" where USER_ID = ?"),
               params);
}

TdmMain& dmMain() {
    if (!registeredModule)
        throw std::logic_error("no data module registered");
    return *registeredModule;
}

void SetDataModule(TdmMain* module) {
    registeredModule = module;
}
