#include "db/reference_tables.h"

#include <fmt/format.h>

#include <unordered_map>

#include "platform/text.h"

namespace corvela {

namespace {
const ColumnRule kSexo{.name = "sexo", .length = 1, .neutral = "A", .letters = "AFM"};
ColumnRule limit(const char* name) {
    return {.name = name, .neutral = "0", .whole_number = true};
}
std::vector<ColumnRule> code_table(const char* key) {
    return {{.name = key}, {.name = "descripcion"}};
}
std::vector<ColumnRule> municipalities() {
    return {{.name = "coddepto", .length = 2, .key = true},
            {.name = "codmuni", .length = 3, .key = true},
            {.name = "nombre"}};
}
std::vector<ColumnRule> entities() {
    return {{.name = "codigo"}, {.name = "nombre"}, {.name = "tipo"}};
}

// "A, F ni M" for "AFM".
std::string letter_list(std::string_view letters) {
    std::string out;
    for (size_t i = 0; i < letters.size(); ++i) {
        if (i) out += i + 1 == letters.size() ? " ni " : ", ";
        out += letters[i];
    }
    return out;
}

bool is_whole_number(std::string_view v) {
    if (v.empty()) return false;
    for (char c : v)
        if (c < '0' || c > '9') return false;
    return true;
}

// Why a value breaks its column's rule; empty when it does not.
std::string value_fault(const ColumnRule& rule, const std::string& v) {
    if (rule.key && v.empty()) return fmt::format("{} vacío", rule.name);
    if (rule.length && char_length(v) != rule.length)
        return fmt::format("{} \"{}\" no tiene {} caracteres", rule.name, v, rule.length);
    if (rule.letters &&
        (v.size() != 1 || std::string_view(rule.letters).find(v) == std::string_view::npos))
        return fmt::format("{} \"{}\" no es {}", rule.name, v, letter_list(rule.letters));
    if (rule.whole_number && !is_whole_number(v))
        return fmt::format("{} \"{}\" no es un número entero", rule.name, v);
    return {};
}
}  // namespace

const std::vector<ReferenceTable>& reference_tables() {
    static const std::vector<ReferenceTable> tables = {
        {"R_Campos",
         Store::Reference,
         {{.name = "ARCHIVO"},
          {.name = "id"},
          {.name = "Long"},
          {.name = "tipo"},
          {.name = "tabla"},
          {.name = "dato"}}},
        {"R_TIPO_DOCUMENTO", Store::Reference, code_table("CODIGO")},
        {"R_TIPO_DOCUMENTO1", Store::Reference, code_table("CODIGO")},
        {"R_AD_conceptos", Store::Reference, code_table("id")},
        {"R_tipo_usuario", Store::Reference, code_table("CODIGO")},
        {"r_finalidad_consulta", Store::Reference, code_table("id")},
        {"r_causa_externa", Store::Reference, code_table("CODIGO")},
        {"r_cie10",
         Store::Reference,
         {{.name = "codigo", .length = 4, .key = true},
          {.name = "descripcion"},
          kSexo,
          limit("lim_inf"),
          limit("lim_sup")}},
        {"cups",
         Store::Reference,
         {{.name = "codigo", .length = 6, .key = true},
          {.name = "archivo", .length = 2, .key = true},
          {.name = "descripcion"},
          kSexo,
          limit("edad_ini"),
          limit("edad_fin")}},
        {"r_municipios", Store::Reference, municipalities()},
        {"departamentos",
         Store::Working,
         {{.name = "coddepto", .length = 2, .key = true}, {.name = "nombre"}}},
        {"municipios", Store::Working, municipalities()},
        {"TR_instituciones", Store::Working, entities()},
        {"tr_administradoras", Store::Working, entities()},
    };
    return tables;
}

const ReferenceTable* find_reference_table(std::string_view name) {
    for (const auto& t : reference_tables())
        if (equals_nocase(t.name, name)) return &t;
    return nullptr;
}

std::string reference_table_names() {
    std::string names;
    for (const auto& t : reference_tables())
        names += (names.empty() ? "" : ", ") + std::string(t.name);
    return names;
}

void check_reference_rows(const ReferenceTable& table, const std::vector<CsvRow>& rows,
                          const std::string& file) {
    std::unordered_map<std::string, size_t> seen;
    for (const auto& row : rows) {
        std::string key, shown;
        size_t key_columns = 0;
        for (size_t c = 0; c < table.columns.size(); ++c) {
            const ColumnRule& rule = table.columns[c];
            if (std::string why = value_fault(rule, row.values[c]); !why.empty())
                throw CsvError(file, row.line, why);
            if (!rule.key) continue;
            key += to_upper(row.values[c]) + '\x1f';
            shown += fmt::format("{}{} {}", key_columns++ ? " y " : "", rule.name, row.values[c]);
        }
        if (key.empty()) continue;
        auto [at, fresh] = seen.emplace(key, row.line);
        if (!fresh)
            throw CsvError(file, row.line,
                           fmt::format("{} {}; ya {} en la línea {}", shown,
                                       key_columns > 1 ? "repetidos" : "repetido",
                                       key_columns > 1 ? "están" : "está", at->second));
    }
}

}  // namespace corvela
