// Adds rows to a working table through one prepared statement, values bound by column position.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "db/database.h"

namespace corvela {

class RowWriter {
  public:
    RowWriter(Database& db, const std::string& table, const std::vector<std::string>& columns);

    // Column i is 1-based, in the order of the columns given.
    void text(int i, std::string_view value);
    // Null when the value is empty, the text otherwise.
    void text_or_null(int i, std::string_view value);
    void number(int i, double value);
    void null(int i);
    // A dd/mm/yyyy date stored as ISO text; empty (or no date) gives null.
    void date(int i, std::string_view value);
    void insert();

  private:
    SQLite::Statement statement_;
    // The texts of the row being bound, kept until it is inserted; their buffers are reused.
    std::vector<std::string> values_;
};

}  // namespace corvela
