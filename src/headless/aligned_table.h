// A table written for people, as the command line prints it and the web service gives a report as
// text: the column headers, then one line per row, each column as wide as its widest cell in
// characters (not bytes, so "María" lines up) and at least its width in `least_widths` when one is
// given, two blanks between columns, no blanks at the end of a line.
#pragma once

#include <string>
#include <vector>

namespace corvela {

using TableRow = std::vector<std::string>;

// The table's lines, each ended by "\n".
std::string aligned_table(const TableRow& headers, const std::vector<TableRow>& rows,
                          const std::vector<size_t>& least_widths = {});

}  // namespace corvela
