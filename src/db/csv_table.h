// Loads a CSV file with a header line into a table, in one transaction: the header names columns
// of the table, every line holds as many values as the header, values are not quoted. A bad line
// is named in the error and nothing of the file stays.
#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "db/database.h"

namespace corvela {

class CsvError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

struct CsvContent {
    std::vector<std::string> header;
    std::vector<std::vector<std::string>> rows;
};

// Reads and checks the file; throws CsvError naming the bad line.
CsvContent read_csv(const std::filesystem::path& path);

// Replaces the rows of `table` (or appends when `replace` is false) with the file's rows.
// Returns the number of rows loaded. Throws CsvError or SQLite::Exception; nothing changes then.
size_t load_csv_table(Database& db, const std::string& table, const std::filesystem::path& path,
                      bool replace);
// The same within a transaction the caller holds.
size_t insert_csv_rows(Database& db, const std::string& table, const CsvContent& csv);

}  // namespace corvela
