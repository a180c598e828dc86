// The reference tables an installation loads and `reference import` replaces: the database each
// lives in, its columns in order, and what a value of each column must be. A table's key columns
// may be neither empty nor repeated (letter case aside, as lookups compare them).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "db/csv_reader.h"

namespace corvela {

enum class Store { Reference, Working };

struct ColumnRule {
    const char* name;
    size_t length = 0;              // exact length in characters; 0 for any
    bool key = false;               // part of the table's key
    const char* neutral = nullptr;  // taken when a file lacks the column or leaves it empty
    const char* letters = nullptr;  // the value is one of these letters
    bool whole_number = false;      // digits only
};

struct ReferenceTable {
    const char* name;
    Store store;
    std::vector<ColumnRule> columns;
};

const std::vector<ReferenceTable>& reference_tables();
// The table of that name, letter case aside; null when there is none.
const ReferenceTable* find_reference_table(std::string_view name);
// The names of every table, separated by ", ".
std::string reference_table_names();

// Checks rows given in the table's column order against its rules; throws CsvError naming the
// first bad line of `file`.
void check_reference_rows(const ReferenceTable& table, const std::vector<CsvRow>& rows,
                          const std::string& file);

}  // namespace corvela
