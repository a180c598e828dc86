// The reference rows of an installation: the shipped files that `corvela init` loads, and the
// replacement of one reference table from a file (`corvela reference import`).
#pragma once

#include <filesystem>
#include <string>

#include "db/database.h"
#include "db/reference_rows.h"

namespace corvela {

// Loads every CSV of `folder` into the table of its name, in the reference database or in the
// working database's lists; the municipalities also go to the EAPB registry's `municipios`.
// Throws CsvError or SQLite::Exception.
void load_reference_rows(Database& ref, Database& work, const std::filesystem::path& folder);

struct ImportReport {
    std::string failure;  // why nothing changed; empty when the table was replaced
    std::string summary;  // what was loaded
};

// Replaces one reference table from a CSV file laid out as the table, in one transaction.
ImportReport import_reference(Database& ref, Database& work, const std::string& table,
                              const std::filesystem::path& csv, const ColumnMapping& mapping = {});

}  // namespace corvela
