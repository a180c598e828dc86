// What an engine provides for adding a batch of rows to one table: each engine adds them its own
// way (one prepared insert a row, or the server's copy protocol), with the same outcome.
#pragma once

#include <cstddef>
#include <exception>
#include <span>

#include "db/row.h"

namespace corvela {

class RowInserter {
  public:
    // What a batch came to: the rows added, in order, and the failure of the row after them
    // (null when every row was added). The rows after a failing one are not tried, and the
    // connection's transaction stays usable.
    struct Outcome {
        size_t added = 0;
        std::exception_ptr failure;
    };

    virtual ~RowInserter() = default;
    // Adds the rows in order, inside the caller's transaction.
    virtual Outcome insert(std::span<const Row> rows) = 0;
};

}  // namespace corvela
