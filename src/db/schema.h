// The tables and views of the working database `registros_ips.db` and of the reference
// database `Ref_rips.db`. The schema carries a version in `PRAGMA user_version`.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "db/database.h"
#include "db/file_types.h"

namespace corvela {

inline constexpr int kSchemaVersion = 1;

void create_working_schema(Database& db);
void create_reference_schema(Database& db);

// The columns of a working table as the schema defines them, in their order (empty when no
// file type has the table).
std::vector<std::string> working_columns(std::string_view table);

}  // namespace corvela
