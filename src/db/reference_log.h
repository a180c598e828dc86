// The record of what each reference table was loaded from, kept in the reference database
// (`cargas_referencia`): per load the table, the file name and its SHA-256, the time, the row
// count and the source: "init" (the shipped files of a new installation), "import" (a file laid
// out as the table) or "sispro" (the Ministry's export). A database made before the record existed
// lacks the table until its first load.
#pragma once

#include <optional>
#include <string>

#include "db/database.h"

namespace corvela {

struct LoadRecord {
    std::string table;
    std::string file;    // the file name, without its folder
    std::string sha256;  // lower-case hexadecimal
    std::string time;    // YYYY-MM-DD HH:MM:SS
    long long rows = 0;
    std::string source;  // "init", "import" or "sispro"
};

// Adds a record, creating the table when the database lacks it.
void record_load(Database& ref, const LoadRecord& record);
// The last record of a table; none when there is none or the database lacks the table.
std::optional<LoadRecord> last_load(Database& ref, const std::string& table);

}  // namespace corvela
