#include "db/csv_table.h"

#include <fmt/format.h>

#include "db/schema.h"
#include "platform/encoding.h"
#include "platform/line_reader.h"
#include "platform/text.h"

namespace corvela {

namespace {
std::vector<std::string> split_commas(const std::string& line) {
    std::vector<std::string> out;
    size_t start = 0;
    for (;;) {
        size_t comma = line.find(',', start);
        out.emplace_back(trim(std::string_view(line).substr(
            start, comma == std::string::npos ? std::string::npos : comma - start)));
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    return out;
}
}  // namespace

CsvContent read_csv(const std::filesystem::path& path) {
    CsvContent csv;
    std::unique_ptr<LineReader> reader;
    try {
        reader = std::make_unique<LineReader>(path);
    } catch (const std::exception& e) {
        throw CsvError(fmt::format("No se pudo leer el archivo {}: {}", path.string(), e.what()));
    }
    std::string line;
    size_t number = 0;
    while (reader->next(line)) {
        ++number;
        if (trim(line).empty()) continue;
        auto values = split_commas(line);
        if (csv.header.empty()) {
            csv.header = values;
            continue;
        }
        if (values.size() != csv.header.size())
            throw CsvError(fmt::format("Línea {} de {}: tiene {} valores y el encabezado {}",
                                       number, path.filename().string(), values.size(),
                                       csv.header.size()));
        csv.rows.push_back(std::move(values));
    }
    if (csv.header.empty())
        throw CsvError(
            fmt::format("El archivo {} no tiene línea de encabezado", path.filename().string()));
    return csv;
}

size_t insert_csv_rows(Database& db, const std::string& table, const CsvContent& csv) {
    auto columns = table_columns(db, table);
    if (columns.empty()) throw CsvError(fmt::format("No existe la tabla {}", table));
    for (const auto& name : csv.header) {
        bool known = false;
        for (const auto& c : columns) known = known || equals_nocase(c, name);
        if (!known)
            throw CsvError(
                fmt::format("Línea 1: la columna {} no existe en la tabla {}", name, table));
    }
    std::string sql = "INSERT INTO \"" + table + "\" (";
    std::string marks;
    for (size_t i = 0; i < csv.header.size(); ++i) {
        sql += (i ? ", \"" : "\"") + csv.header[i] + "\"";
        marks += i ? ", ?" : "?";
    }
    SQLite::Statement insert(db.db(), sql + ") VALUES (" + marks + ")");
    for (const auto& row : csv.rows) {
        for (size_t i = 0; i < row.size(); ++i) {
            if (row[i].empty())
                insert.bind(static_cast<int>(i + 1));
            else
                insert.bind(static_cast<int>(i + 1), row[i]);
        }
        insert.exec();
        insert.reset();
    }
    return csv.rows.size();
}

size_t load_csv_table(Database& db, const std::string& table, const std::filesystem::path& path,
                      bool replace) {
    if (table_columns(db, table).empty())
        throw CsvError(fmt::format("No existe la tabla {}", table));
    CsvContent csv = read_csv(path);
    SQLite::Transaction tx(db.db());
    if (replace) db.exec("DELETE FROM \"" + table + "\"");
    size_t n = insert_csv_rows(db, table, csv);
    tx.commit();
    return n;
}

}  // namespace corvela
