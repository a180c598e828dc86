// The Ministry's "tablas de referencia" exports of CIE10 and of the RIPS CUPS table, read as
// published. Only rows with `Habilitado` SI are kept; sexes become A, F or M (Z, both sexes, is A)
// and ages in years become the table's limit codes; a five-digit CUPS code, whose leading zero was
// lost, gets it back unless the six-digit code is in the file already. Other columns are ignored.
#pragma once

#include <vector>

#include "db/csv_reader.h"
#include "db/reference_tables.h"

namespace corvela {

struct SisproCounts {
    size_t loaded = 0, disabled = 0, padded = 0, dropped = 0;
};

// True for the tables the Ministry publishes such an export of: r_cie10 and cups.
bool has_sispro_export(const ReferenceTable& table);

// The table's rows converted from the export, checked against the table's rules. Throws CsvError
// naming a missing column or the bad line.
std::vector<CsvRow> sispro_rows(const ReferenceTable& table, const CsvContent& csv,
                                SisproCounts& counts);

}  // namespace corvela
