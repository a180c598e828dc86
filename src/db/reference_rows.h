// The rows of a reference table from a CSV file laid out as the table: each column of the table is
// found by its header name, letter case and accents aside, or by the header an operator maps to it;
// other columns of the file are ignored. A column the file lacks takes its neutral value where the
// table has one, and is a fault otherwise.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "db/csv_reader.h"
#include "db/reference_tables.h"

namespace corvela {

// Pairs of table column and file header, for headers named otherwise than their columns.
using ColumnMapping = std::vector<std::pair<std::string, std::string>>;

// A header name folded for matching: upper case, accents removed, blanks trimmed.
std::string folded_name(std::string_view name);

// The rows of `csv`, values in the table's column order, checked against the table's rules.
// Throws CsvError naming the bad line, or a missing or wrongly mapped column.
std::vector<CsvRow> reference_rows(const ReferenceTable& table, const CsvContent& csv,
                                   const ColumnMapping& mapping = {});

}  // namespace corvela
