// Fuzzes the reading of a reference CSV file: decoding, the separator, quotes, line ends and the
// line numbers, then the checks of a table's rows and the conversion of the Ministry's exports on
// what was read. A file either reads into records of the header's width on rising lines, or fails
// with a CsvError; nothing else.
#include <cstdlib>

#include "db/csv_reader.h"
#include "db/reference_rows.h"
#include "db/sispro_rows.h"
#include "platform/encoding.h"

using namespace corvela;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    CsvContent csv;
    try {
        csv = parse_csv(bytes, "f.csv");
    } catch (const CsvError&) {
        return 0;
    }
    if (csv.header.empty() || (csv.separator != ',' && csv.separator != ';')) std::abort();
    size_t last = csv.header_line;
    for (const auto& row : csv.rows) {
        if (row.values.size() != csv.header.size() || row.line <= last) std::abort();
        for (const auto& v : row.values)
            if (!is_valid_utf8(v)) std::abort();
        last = row.line;
    }
    for (const char* table : {"r_cie10", "cups", "r_municipios"}) {
        const ReferenceTable& t = *find_reference_table(table);
        try {
            for (const auto& row : reference_rows(t, csv))
                if (row.values.size() != t.columns.size()) std::abort();
        } catch (const CsvError&) {
        }
        if (!has_sispro_export(t)) continue;
        try {
            SisproCounts n;
            const auto rows = sispro_rows(t, csv, n);
            if (n.loaded != rows.size() || n.loaded + n.disabled + n.dropped != csv.rows.size())
                std::abort();
        } catch (const CsvError&) {
        }
    }
    return 0;
}
