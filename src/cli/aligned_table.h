// A table printed for people: the column headers, then one line per row, each column as wide as
// its widest cell in characters (not bytes, so "María" lines up) and at least its width in
// `least_widths` when one is given, two blanks between columns, no blanks at the end of a line.
#pragma once

#include <string>
#include <vector>

namespace corvela::cli {

using TableRow = std::vector<std::string>;

void print_table(const TableRow& headers, const std::vector<TableRow>& rows,
                 const std::vector<size_t>& least_widths = {});

}  // namespace corvela::cli
