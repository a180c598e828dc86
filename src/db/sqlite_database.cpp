#include "db/sqlite_database.h"

#include <SQLiteCpp/Transaction.h>
#include <sqlite3.h>

#include <filesystem>

#include "db/sqlite_failure.h"
#include "db/sqlite_functions.h"
#include "db/sqlite_statement.h"

namespace corvela::sqlite {

namespace {
// A connection is used by one thread at a time (a run's writer takes it over while the
// validating thread leaves it alone), so SQLite's own locking is not needed. A path that names
// no file must not create one, unless creating is asked for.
SQLite::Database open_file(const std::string& path, bool create) {
    if (create && std::filesystem::exists(path))
        throw DatabaseFailure(SQLITE_CANTOPEN, "the database " + path + " exists already");
    const int flags =
        SQLite::OPEN_READWRITE | SQLite::OPEN_NOMUTEX | (create ? SQLite::OPEN_CREATE : 0);
    return translated([&] { return SQLite::Database(path, flags); });
}

class SqliteTransaction : public Transaction::Engine {
  public:
    explicit SqliteTransaction(SQLite::Database& db) : transaction_(db) {}
    void commit() override {
        translated([&] { transaction_.commit(); });
    }

  private:
    SQLite::Transaction transaction_;
};
}  // namespace

SqliteDatabase::SqliteDatabase(const std::string& path, bool create)
    : db_(open_file(path, create)) {
    translated([&] {
        db_.setBusyTimeout(30000);
        register_functions(db_);
        db_.exec("PRAGMA journal_mode=WAL");
        db_.exec("PRAGMA synchronous=NORMAL");
        db_.exec("PRAGMA foreign_keys=OFF");
    });
}

void SqliteDatabase::exec(const std::string& sql) {
    translated([&] { db_.exec(sql); });
}

Statement SqliteDatabase::prepare(const std::string& sql) {
    return Statement(std::make_unique<SqliteStatement>(db_, sql));
}

std::unique_ptr<Transaction::Engine> SqliteDatabase::begin() {
    return translated([&] { return std::make_unique<SqliteTransaction>(db_); });
}

std::int64_t SqliteDatabase::last_insert_id() const {
    return db_.getLastInsertRowid();
}

bool SqliteDatabase::has_table(const std::string& name) {
    return translated([&] { return db_.tableExists(name); });
}

bool SqliteDatabase::in_transaction() const {
    return sqlite3_get_autocommit(db_.getHandle()) == 0;
}

DatabaseFailure SqliteDatabase::disk_full() const {
    return DatabaseFailure(SQLITE_FULL, sqlite3_errstr(SQLITE_FULL));
}

// Case-blind texts by the engine's own collation; numbers by numeric affinity, which keeps a
// whole number as an integer and any other as a real.
std::string SqliteDatabase::type_name(ColumnType type) const {
    switch (type) {
        case ColumnType::Text:
            return "TEXT COLLATE NOCASE";
        case ColumnType::Number:
            return "NUMERIC";
        case ColumnType::Date:
        case ColumnType::ExactText:
            return "TEXT";
        case ColumnType::Integer:
        case ColumnType::RowNumber:
            return "INTEGER";
    }
    return "TEXT";
}

void SqliteDatabase::set_schema_version(int version) {
    exec("PRAGMA user_version = " + std::to_string(version));
}

}  // namespace corvela::sqlite
