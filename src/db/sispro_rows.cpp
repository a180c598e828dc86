#include "db/sispro_rows.h"

#include <fmt/format.h>

#include <unordered_set>

#include "db/reference_rows.h"
#include "platform/text.h"

namespace corvela {

namespace {
constexpr const char* kFileTypes[] = {"US", "AF", "AC", "AP", "AU", "AH", "AN", "AM", "AT", "AD"};

bool all_digits(std::string_view v) {
    for (char c : v)
        if (c < '0' || c > '9') return false;
    return !v.empty();
}

// The export's columns a table reads, found by name (letter case and accents aside).
class ExportColumns {
  public:
    explicit ExportColumns(const CsvContent& csv) : csv_(csv) {}
    size_t operator()(const char* name) const {
        for (size_t i = 0; i < csv_.header.size(); ++i)
            if (folded_name(csv_.header[i]) == folded_name(name)) return i;
        throw CsvError(csv_.name, csv_.header_line,
                       fmt::format("falta la columna {} de la exportación de SISPRO", name));
    }

  private:
    const CsvContent& csv_;
};

// Reads the values of one row of the export, naming its line in a fault.
class ExportRow {
  public:
    ExportRow(const CsvContent& csv, const CsvRow& row) : csv_(csv), row_(row) {}
    const std::string& operator[](size_t column) const { return row_.values[column]; }

    [[noreturn]] void fault(const std::string& reason) const {
        throw CsvError(csv_.name, row_.line, reason);
    }
    bool enabled(size_t column) const {
        const std::string v = folded_name(row_.values[column]);
        if (v == "SI") return true;
        if (v != "NO")
            fault(fmt::format("{} \"{}\" no es SI ni NO", header(column), row_.values[column]));
        return false;
    }
    // A, F or M; Z (both sexes) and an empty value are A.
    std::string sex(size_t column) const {
        const std::string v = to_upper(row_.values[column]);
        if (v.empty() || v == "Z") return "A";
        if (v != "A" && v != "F" && v != "M")
            fault(fmt::format("{} \"{}\" no es A, F, M ni Z", header(column), row_.values[column]));
        return v;
    }
    // An age in years; an empty one counts as 0.
    int age(size_t column) const {
        const std::string& v = row_.values[column];
        if (v.empty()) return 0;
        if (!all_digits(v) || v.size() > 4)
            fault(fmt::format("{} \"{}\" no es un número entero de años", header(column), v));
        return std::stoi(v);
    }
    std::string file_type(size_t column) const {
        const std::string& v = row_.values[column];
        for (const char* t : kFileTypes)
            if (v == t) return v;
        fault(
            fmt::format("{} \"{}\" no es un tipo de archivo (US, AF, AC, AP, AU, AH, AN, AM, AT, "
                        "AD)",
                        header(column), v));
    }

  private:
    const std::string& header(size_t column) const { return csv_.header[column]; }
    const CsvContent& csv_;
    const CsvRow& row_;
};

// The lower and upper limit codes of an age range in years (unit 4 is years).
std::pair<std::string, std::string> limit_codes(const ExportRow& row, int min, int max) {
    if (min >= 100) row.fault(fmt::format("la edad mínima {} no cabe en un límite (0 a 99)", min));
    if (max < 100 && min > max)
        row.fault(fmt::format("la edad mínima {} es mayor que la máxima {}", min, max));
    std::string lower = min == 0 ? "0" : std::to_string(400 + min);
    std::string upper = max >= 100 ? (min == 0 ? "0" : "599") : std::to_string(400 + max);
    return {lower, upper};
}

// The enabled rows of an export, each turned into the table's values by `values`; the disabled
// ones are counted and left out.
template <typename Values>
std::vector<CsvRow> enabled_rows(const CsvContent& csv, size_t habilitado, SisproCounts& counts,
                                 Values values) {
    std::vector<CsvRow> rows;
    for (const auto& in : csv.rows) {
        const ExportRow row(csv, in);
        if (!row.enabled(habilitado)) {
            ++counts.disabled;
            continue;
        }
        rows.push_back({in.line, values(row)});
    }
    return rows;
}

std::vector<CsvRow> cie10_rows(const CsvContent& csv, SisproCounts& counts) {
    const ExportColumns col(csv);
    const size_t codigo = col("Codigo"), nombre = col("Nombre"), habilitado = col("Habilitado"),
                 sexo = col("Extra_X:Sexo"), min = col("Extra_II:EdadMinima"),
                 max = col("Extra_III:EdadMaxima");
    return enabled_rows(csv, habilitado, counts, [&](const ExportRow& row) {
        auto [lower, upper] = limit_codes(row, row.age(min), row.age(max));
        return std::vector<std::string>{row[codigo], row[nombre], row.sex(sexo), lower, upper};
    });
}

std::vector<CsvRow> cups_rows(const CsvContent& csv, SisproCounts& counts) {
    const ExportColumns col(csv);
    const size_t codigo = col("Codigo"), nombre = col("Nombre"), habilitado = col("Habilitado"),
                 uso = col("Extra_I:UsoCodigoCUP"), sexo = col("Extra_VI:Sexo");
    auto rows = enabled_rows(csv, habilitado, counts, [&](const ExportRow& row) {
        return std::vector<std::string>{
            row[codigo], row.file_type(uso), row[nombre], row.sex(sexo), "0", "0"};
    });
    // A five-digit code lost its leading zero: padded, unless the file holds the code already.
    auto lost_zero = [](const CsvRow& r) {
        return r.values[0].size() == 5 && all_digits(r.values[0]);
    };
    std::unordered_set<std::string> keys;
    for (const auto& r : rows)
        if (!lost_zero(r)) keys.insert(r.values[0] + "," + to_upper(r.values[1]));
    std::vector<CsvRow> kept;
    kept.reserve(rows.size());
    for (auto& r : rows) {
        if (lost_zero(r)) {
            r.values[0] = "0" + r.values[0];
            if (!keys.insert(r.values[0] + "," + to_upper(r.values[1])).second) {
                ++counts.dropped;
                continue;
            }
            ++counts.padded;
        }
        kept.push_back(std::move(r));
    }
    return kept;
}
}  // namespace

bool has_sispro_export(const ReferenceTable& table) {
    return equals_nocase(table.name, "r_cie10") || equals_nocase(table.name, "cups");
}

std::vector<CsvRow> sispro_rows(const ReferenceTable& table, const CsvContent& csv,
                                SisproCounts& counts) {
    counts = {};
    std::vector<CsvRow> rows =
        equals_nocase(table.name, "r_cie10") ? cie10_rows(csv, counts) : cups_rows(csv, counts);
    check_reference_rows(table, rows, csv.name);
    counts.loaded = rows.size();
    return rows;
}

}  // namespace corvela
