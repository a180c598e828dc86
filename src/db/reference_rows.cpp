#include "db/reference_rows.h"

#include <fmt/format.h>

#include <optional>

#include "platform/text.h"

namespace corvela {

namespace {
// The plain letters of the upper-case Latin-1 letters U+00C0..U+00DF; 0 keeps the letter.
constexpr char kPlain[33] = "AAAAAA\0CEEEEIIII\0NOOOOO\0OUUUUY\0\0";

std::optional<size_t> header_index(const CsvContent& csv, std::string_view name) {
    const std::string wanted = folded_name(name);
    for (size_t i = 0; i < csv.header.size(); ++i)
        if (folded_name(csv.header[i]) == wanted) return i;
    return std::nullopt;
}

std::string column_names(const ReferenceTable& table) {
    std::string names;
    for (const auto& c : table.columns) names += (names.empty() ? "" : ", ") + std::string(c.name);
    return names;
}

// The file column of each table column (none when the file lacks it), mapped headers first.
std::vector<std::optional<size_t>> column_sources(const ReferenceTable& table,
                                                  const CsvContent& csv,
                                                  const ColumnMapping& mapping) {
    std::vector<std::optional<size_t>> sources(table.columns.size());
    std::vector<bool> mapped(table.columns.size(), false);
    for (const auto& [column, header] : mapping) {
        size_t c = 0;
        while (c < table.columns.size() &&
               folded_name(table.columns[c].name) != folded_name(column))
            ++c;
        if (c == table.columns.size())
            throw CsvError(
                fmt::format("--column {}={}: la tabla {} no tiene la columna {}; sus "
                            "columnas son {}.",
                            column, header, table.name, column, column_names(table)));
        sources[c] = header_index(csv, header);
        mapped[c] = true;
        if (!sources[c])
            throw CsvError(
                csv.name, csv.header_line,
                fmt::format("no hay columna {} (--column {}={})", header, column, header));
    }
    for (size_t c = 0; c < table.columns.size(); ++c) {
        if (!mapped[c]) sources[c] = header_index(csv, table.columns[c].name);
        if (!sources[c] && !table.columns[c].neutral)
            throw CsvError(csv.name, csv.header_line,
                           fmt::format("falta la columna {} de la tabla {}", table.columns[c].name,
                                       table.name));
    }
    return sources;
}
}  // namespace

std::string folded_name(std::string_view name) {
    std::string upper = to_upper(trim(name));
    std::string out;
    out.reserve(upper.size());
    for (size_t i = 0; i < upper.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(upper[i]);
        if (c == 0xC3 && i + 1 < upper.size()) {
            unsigned char next = static_cast<unsigned char>(upper[i + 1]);
            if (next >= 0x80 && next <= 0x9F && kPlain[next - 0x80]) {
                out += kPlain[next - 0x80];
                ++i;
                continue;
            }
        }
        out += static_cast<char>(c);
    }
    return out;
}

std::vector<CsvRow> reference_rows(const ReferenceTable& table, const CsvContent& csv,
                                   const ColumnMapping& mapping) {
    const auto sources = column_sources(table, csv, mapping);
    std::vector<CsvRow> rows;
    rows.reserve(csv.rows.size());
    for (const auto& in : csv.rows) {
        CsvRow row{in.line, {}};
        row.values.reserve(sources.size());
        for (size_t c = 0; c < sources.size(); ++c) {
            const char* neutral = table.columns[c].neutral;
            std::string v = sources[c] ? in.values[*sources[c]] : std::string();
            row.values.push_back(v.empty() && neutral ? neutral : std::move(v));
        }
        rows.push_back(std::move(row));
    }
    check_reference_rows(table, rows, csv.name);
    return rows;
}

}  // namespace corvela
