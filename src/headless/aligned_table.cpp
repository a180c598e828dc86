#include "headless/aligned_table.h"

#include <algorithm>

#include "platform/text.h"

namespace corvela {

namespace {
// A text padded with blanks to `width` characters.
std::string padded(const std::string& text, size_t width) {
    size_t length = char_length(text);
    return length >= width ? text : text + std::string(width - length, ' ');
}
}  // namespace

std::string aligned_table(const TableRow& headers, const std::vector<TableRow>& rows,
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
    std::string text;
    auto add_row = [&](const TableRow& row) {
        std::string line;
        for (size_t c = 0; c < columns; ++c)
            line += (c ? "  " : "") + padded(cell(row, c), widths[c]);
        text += std::string(rtrim(line)) + "\n";
    };
    add_row(headers);
    for (const auto& row : rows) add_row(row);
    return text;
}

}  // namespace corvela
