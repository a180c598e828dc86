#include "db/bulk_insert.h"

#include <fmt/format.h>
#include <fmt/ranges.h>

#include <limits>

#include "platform/fault_injection.h"

namespace corvela {

std::string insert_sql(std::string_view table, const std::vector<std::string>& columns) {
    const std::vector<std::string> marks(columns.size(), "?");
    return fmt::format("INSERT INTO {} ({}) VALUES ({})", table, fmt::join(columns, ", "),
                       fmt::join(marks, ", "));
}

BulkInsert::BulkInsert(Database& db, std::string_view table,
                       const std::vector<std::string>& columns)
    : db_(db),
      inserter_(db.inserter(table, columns)),
      room_(fault_armed("almacen:disco-lleno") ? 1 : std::numeric_limits<size_t>::max()) {}

BulkInsert::Outcome BulkInsert::insert_until_full(std::span<const Row> rows) {
    Outcome outcome = inserter_->insert(rows.first(room_));
    room_ = 0;
    if (!outcome.failure) outcome.failure = std::make_exception_ptr(db_.disk_full());
    return outcome;
}

void BulkInsert::insert(const Row& row) {
    Outcome outcome = insert(std::span(&row, 1));
    if (outcome.failure) std::rethrow_exception(outcome.failure);
}

StatementInserter::StatementInserter(Database& db, std::string_view table,
                                     const std::vector<std::string>& columns)
    : statement_(db.prepare(insert_sql(table, columns))) {}

void StatementInserter::insert_one(const Row& row) {
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

RowInserter::Outcome StatementInserter::insert(std::span<const Row> rows) {
    Outcome outcome;
    for (const Row& row : rows) {
        try {
            insert_one(row);
        } catch (...) {
            outcome.failure = std::current_exception();
            return outcome;
        }
        ++outcome.added;
    }
    return outcome;
}

}  // namespace corvela
