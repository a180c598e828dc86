// Where the rows of a data file's passing lines go: stored at once, one by one, or handed in
// batches to a writer on a second thread.
#pragma once

#include <cstddef>
#include <exception>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "db/bulk_insert.h"
#include "db/row.h"

namespace corvela {

// The storage of a row failed after the validator had gone on past it: `row` rows of the file
// were stored before the failing one, and `failure` is the failure of that row.
struct StorageBehind {
    size_t row = 0;
    std::exception_ptr failure;
};

class RowSink {
  public:
    virtual ~RowSink() = default;
    // The row to fill for the current passing line; its buffers may hold an earlier row.
    virtual Row& next() = 0;
    // The row filled goes to storage. A failure of this row, or (on a writer) StorageBehind
    // for an earlier one, is thrown.
    virtual void add() = 0;
    // Waits until every row added was stored; StorageBehind when one of them failed.
    virtual void finish() = 0;
    // Like finish, without throwing: the failure, if a row failed. Safe after a failure of
    // the validating side, so that the rows of the lines before it are stored.
    virtual std::optional<StorageBehind> drain() = 0;
};

// Stores each row as it is added, on the calling thread.
class StoreNow : public RowSink {
  public:
    StoreNow(Database& db, std::string_view table, const std::vector<std::string>& columns)
        : insert_(db, table, columns) {}
    Row& next() override { return row_; }
    void add() override { insert_.insert(row_); }
    void finish() override {}
    std::optional<StorageBehind> drain() override { return std::nullopt; }

  private:
    BulkInsert insert_;
    Row row_;
};

}  // namespace corvela
