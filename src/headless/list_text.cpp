#include "headless/list_text.h"

#include <algorithm>
#include <vector>

#include "platform/text.h"

namespace corvela {

namespace {
// A text padded with blanks to `width` characters.
std::string padded(const std::string& text, size_t width) {
    size_t length = char_length(text);
    return length >= width ? text : text + std::string(width - length, ' ');
}
}  // namespace

std::string list_text(const ListView& list) {
    size_t columns = list.column_headers.size();
    for (const auto& item : list.items) columns = std::max(columns, item.size());
    std::vector<size_t> widths(columns, 0);
    auto cell = [](const std::vector<std::string>& row, size_t c) {
        return c < row.size() ? row[c] : std::string();
    };
    for (size_t c = 0; c < columns; ++c) {
        widths[c] = char_length(cell(list.column_headers, c));
        for (const auto& item : list.items)
            widths[c] = std::max(widths[c], char_length(cell(item, c)));
    }
    std::string text;
    auto add_row = [&](const std::vector<std::string>& row) {
        std::string line;
        for (size_t c = 0; c < columns; ++c)
            line += (c ? "  " : "") + padded(cell(row, c), widths[c]);
        text += std::string(rtrim(line)) + "\n";
    };
    add_row(list.column_headers);
    for (const auto& item : list.items) add_row(item);
    return text;
}

}  // namespace corvela
