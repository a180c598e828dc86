// The reference rows of an installation: the shipped files that `corvela init` loads, the
// replacement of one reference table from a file laid out as the table or from the Ministry's
// export (`corvela reference import`), and what each table was last loaded from
// (`corvela reference status`).
#pragma once

#include <filesystem>
#include <string>

#include "db/database.h"
#include "db/reference_rows.h"
#include "platform/clock.h"
#include "platform/result.h"

namespace corvela {

// Loads every CSV of `folder` into the table of its name, in the reference database or in the
// working database's lists; the municipalities also go to the EAPB registry's `municipios`. Each
// table's load is recorded as coming from "init". Throws CsvError or DatabaseFailure.
void load_reference_rows(Database& ref, Database& work, const std::filesystem::path& folder,
                         const Clock& clock);

struct ImportRequest {
    std::string table;
    std::filesystem::path file;
    ColumnMapping mapping;  // for a file laid out as the table
    bool sispro = false;    // the file is the Ministry's export
    // The file may leave the table with less than half its rows (never with none).
    bool shrink = false;
};

// Replaces one reference table from a file in one transaction and records the load. Done with the
// text that tells what was loaded; failed with why nothing changed. A file without rows, or with
// less than half the rows of a catalogue unless `shrink`, is refused; the field definitions
// are held by their own check instead.
Result<std::string> import_reference(Database& ref, Database& work, const ImportRequest& request,
                                     const Clock& clock);

// One line per reference table: its name, its row count, the source of its last load ("init",
// "import", "sispro" or "sin registro"), the file name, the first 12 digits of the file's SHA-256
// and the time of the load (YYYY-MM-DD HH:MM), in aligned columns.
std::string reference_status(Database& ref, Database& work);

}  // namespace corvela
