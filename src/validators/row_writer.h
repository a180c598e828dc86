// Adds rows to a working table through one prepared statement, values bound by column position.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "db/database.h"
#include "db/row.h"

namespace corvela {

class RowWriter {
  public:
    RowWriter(Database& db, const std::string& table, const std::vector<std::string>& columns);

    // Adds a row: value i goes to column i + 1, in the order of the columns given.
    void insert(const Row& row);

    // A row bound value by value: column i is 1-based. `insert()` adds it.
    void text(int i, std::string_view value);
    void null(int i);
    void insert();

  private:
    SQLite::Statement statement_;
    // The texts of the row being bound, kept until it is inserted; their buffers are reused.
    std::vector<std::string> values_;
};

}  // namespace corvela
