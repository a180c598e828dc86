// Writes the rows of a reference table, values in the table's column order, through one bound
// statement. The caller holds the transaction, so that a failure leaves the table as it was.
#pragma once

#include <vector>

#include "db/csv_reader.h"
#include "db/database.h"
#include "db/reference_tables.h"

namespace corvela {

// Replaces the table's rows with `rows` (or adds them when `replace` is false). Empty values are
// stored as null.
void write_reference_rows(Database& db, const ReferenceTable& table,
                          const std::vector<CsvRow>& rows, bool replace);

}  // namespace corvela
