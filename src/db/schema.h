// The tables and views of the working database `registros_ips.db` and of the reference
// database `Ref_rips.db`. The schema carries a version in `PRAGMA user_version`.
#pragma once

#include <string>
#include <vector>

#include "db/database.h"

namespace corvela {

inline constexpr int kSchemaVersion = 1;

void create_working_schema(Database& db);
void create_reference_schema(Database& db);

// A working table of one data file type and its final table.
struct WorkingTable {
    const char* type;   // file type code
    const char* table;  // working table
    const char* final;  // final table
};
const std::vector<WorkingTable>& working_tables();

// The columns of a working table as the schema defines them, in their order.
std::vector<std::string> working_columns(const std::string& table);

// The columns of a table, in their order (empty when the table does not exist).
std::vector<std::string> table_columns(Database& db, const std::string& table);

}  // namespace corvela
