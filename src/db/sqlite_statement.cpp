#include "db/sqlite_statement.h"

#include <sqlite3.h>

#include "db/sqlite_failure.h"

namespace corvela::sqlite {

SqliteStatement::SqliteStatement(SQLite::Database& db, const std::string& sql)
    : statement_(translated([&] { return SQLite::Statement(db, sql); })) {}

void SqliteStatement::bind_text(int index, const std::string& text) {
    translated([&] { statement_.bind(index, text); });
}

void SqliteStatement::bind_kept_text(int index, const std::string& text) {
    translated([&] { statement_.bindNoCopy(index, text); });
}

void SqliteStatement::bind_integer(int index, std::int64_t value) {
    translated([&] { statement_.bind(index, value); });
}

void SqliteStatement::bind_real(int index, double value) {
    translated([&] { statement_.bind(index, value); });
}

void SqliteStatement::bind_null(int index) {
    translated([&] { statement_.bind(index); });
}

bool SqliteStatement::step() {
    return translated([&] { return statement_.executeStep(); });
}

void SqliteStatement::execute() {
    translated([&] { statement_.exec(); });
}

void SqliteStatement::reset() {
    // SQLite reports the last step's failure again on a reset; that step has reported it.
    statement_.tryReset();
}

void SqliteStatement::clear_bindings() {
    translated([&] { statement_.clearBindings(); });
}

int SqliteStatement::column_count() const {
    return statement_.getColumnCount();
}

std::string SqliteStatement::column_name(int column) const {
    return translated([&] { return std::string(statement_.getColumnName(column)); });
}

StoredType SqliteStatement::column_type(int column) const {
    switch (translated([&] { return statement_.getColumn(column).getType(); })) {
        case SQLITE_NULL:
            return StoredType::Null;
        case SQLITE_INTEGER:
            return StoredType::Integer;
        case SQLITE_FLOAT:
            return StoredType::Real;
        case SQLITE_BLOB:
            return StoredType::Blob;
        default:
            return StoredType::Text;
    }
}

std::string SqliteStatement::text(int column) const {
    return translated([&] { return statement_.getColumn(column).getString(); });
}

std::int64_t SqliteStatement::integer(int column) const {
    return translated([&] { return statement_.getColumn(column).getInt64(); });
}

double SqliteStatement::real(int column) const {
    return translated([&] { return statement_.getColumn(column).getDouble(); });
}

DatabaseFailure SqliteStatement::failure(Fault fault, const std::string& text) const {
    return DatabaseFailure(fault == Fault::NoSuchRow ? SQLITE_NOTFOUND : SQLITE_ERROR, text);
}

}  // namespace corvela::sqlite
