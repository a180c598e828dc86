// Adds batches of rows to one table through one prepared statement, each value bound by its
// column's position without a copy. A batch is what the run's writer hands over: the rows of
// consecutive passing lines of one data file.
#pragma once

#include <cstddef>
#include <exception>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "db/database.h"
#include "db/row.h"

namespace corvela {

class BulkInsert {
  public:
    BulkInsert(Database& db, std::string_view table, const std::vector<std::string>& columns);

    // What a batch came to: the rows added, in order, and the failure of the row after them
    // (null when every row was added). The rows after a failing one are not tried.
    struct Outcome {
        size_t added = 0;
        std::exception_ptr failure;
    };

    // Adds the rows in order, inside the caller's transaction.
    Outcome insert(std::span<const Row> rows);
    // Adds one row; a failure is thrown.
    void insert(const Row& row);

  private:
    void bind(const Row& row);

    Statement statement_;
};

}  // namespace corvela
