// The control-file table: one row per control record (IPS code, remission date, file code,
// declared record count, a fifth field), whose columns 4 and 5 receive the lines read and the
// lines passed of the file. Cells hold texts from the control file or numbers from the counters.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "platform/text.h"

namespace corvela {

using Cell = std::variant<std::monostate, std::string, double>;

inline std::string cell_text(const Cell& c) {
    if (auto s = std::get_if<std::string>(&c)) return *s;
    if (auto d = std::get_if<double>(&c)) return number_text(*d).substr(*d < 0 ? 0 : 1);
    return {};
}
// The text of a cell as stored: null for an empty cell.
inline std::optional<std::string> stored_text(const Cell& c) {
    if (std::holds_alternative<std::monostate>(c)) return std::nullopt;
    return cell_text(c);
}
// The numeric value of a cell; an empty cell counts 0.
inline double cell_number(const Cell& c) {
    if (auto d = std::get_if<double>(&c)) return *d;
    if (auto s = std::get_if<std::string>(&c)) return leading_number_value(*s);
    return 0;
}

struct ControlTable {
    std::vector<std::array<Cell, 7>> rows;

    int size() const { return static_cast<int>(rows.size()); }
    std::string text(int row, int col) const {
        return cell_text(rows.at(static_cast<size_t>(row))[static_cast<size_t>(col)]);
    }
};

}  // namespace corvela
