#include "db/bulk_insert.h"

namespace corvela {

namespace {
std::string insert_sql(std::string_view table, const std::vector<std::string>& columns) {
    std::string cols, marks;
    for (size_t i = 0; i < columns.size(); ++i) {
        cols += (i ? ", " : "") + columns[i];
        marks += i ? ", ?" : "?";
    }
    return "INSERT INTO " + std::string(table) + " (" + cols + ") VALUES (" + marks + ")";
}
}  // namespace

BulkInsert::BulkInsert(Database& db, std::string_view table,
                       const std::vector<std::string>& columns)
    : statement_(db.prepare(insert_sql(table, columns))) {}

void BulkInsert::bind(const Row& row) {
    int i = 1;
    for (const Value& value : row) {
        switch (value.kind) {
            case Value::Kind::Text:
                // Bound as text without a copy: the row outlives the statement's execution.
                statement_.bind_kept(i, value.text);
                break;
            case Value::Kind::Number:
                statement_.bind(i, value.number);
                break;
            case Value::Kind::Null:
                statement_.bind(i);
                break;
        }
        ++i;
    }
}

void BulkInsert::insert(const Row& row) {
    bind(row);
    try {
        statement_.exec();
    } catch (...) {
        // The statement is made ready for the next row; the failure is the step's own.
        statement_.reset();
        statement_.clear_bindings();
        throw;
    }
    statement_.reset();
    // No row's text stays bound once the row's buffers may be filled again.
    statement_.clear_bindings();
}

BulkInsert::Outcome BulkInsert::insert(std::span<const Row> rows) {
    Outcome outcome;
    for (const Row& row : rows) {
        try {
            insert(row);
        } catch (...) {
            outcome.failure = std::current_exception();
            return outcome;
        }
        ++outcome.added;
    }
    return outcome;
}

}  // namespace corvela
