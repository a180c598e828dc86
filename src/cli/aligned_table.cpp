#include "cli/aligned_table.h"

#include <algorithm>
#include <cstdio>

#include "platform/text.h"

namespace corvela::cli {

namespace {
// A text padded with blanks to `width` characters.
std::string padded(const std::string& text, size_t width) {
    size_t length = char_length(text);
    return length >= width ? text : text + std::string(width - length, ' ');
}
}  // namespace

void print_table(const TableRow& headers, const std::vector<TableRow>& rows,
                 const std::vector<size_t>& least_widths) {
    size_t columns = headers.size();
    for (const auto& row : rows) columns = std::max(columns, row.size());
    std::vector<size_t> widths(columns, 0);
    auto cell = [](const TableRow& row, size_t c) {
        return c < row.size() ? row[c] : std::string();
    };
    for (size_t c = 0; c < columns; ++c) {
        widths[c] =
            std::max(c < least_widths.size() ? least_widths[c] : 0, char_length(cell(headers, c)));
        for (const auto& row : rows) widths[c] = std::max(widths[c], char_length(cell(row, c)));
    }
    auto print_row = [&](const TableRow& row) {
        std::string line;
        for (size_t c = 0; c < columns; ++c)
            line += (c ? "  " : "") + padded(cell(row, c), widths[c]);
        std::printf("%s\n", std::string(rtrim(line)).c_str());
    };
    print_row(headers);
    for (const auto& row : rows) print_row(row);
}

}  // namespace corvela::cli
