#include "app/migration.h"

#include <fmt/format.h>

#include <vector>

#include "db/bulk_insert.h"
#include "db/file_types.h"
#include "db/reference_tables.h"
#include "db/server_database.h"
#include "db/server_desks.h"

namespace corvela {

namespace {
// One table to copy: where its rows come from, which of them, and where they go on the server.
struct Copied {
    Database* from;
    std::string table;
    std::string where;   // condition on the rows taken, or empty for every row
    std::string target;  // the table on the server, qualified by its schema
    bool replace;        // the server's rows go first
};

std::vector<Copied> tables_to_copy(Database& work, Database& ref) {
    // Every table the server's desks share is in the schema `corvela`.
    const auto shared = [](std::string_view t) { return "corvela." + std::string(t); };
    std::vector<Copied> list;
    for (const auto& t : file_types()) list.push_back({&work, t.final, "", shared(t.final), false});
    list.push_back({&work, "ERRORES", "nro_radicacion <> 0", shared("ERRORES"), false});
    for (const char* t : {"registros", "radicacion", "periodos"})
        list.push_back({&work, t, "", shared(t), false});
    for (const char* t : {"consecutivo", "sedes", "gerentes"})
        list.push_back({&work, t, "", shared(t), true});
    for (const auto& t : reference_tables()) {
        const bool in_work = t.store == Store::Working;
        list.push_back({in_work ? &work : &ref, t.name, "",
                        in_work ? shared(t.name) : "referencia." + std::string(t.name), true});
    }
    if (ref.has_table("cargas_referencia"))
        list.push_back({&ref, "cargas_referencia", "", "referencia.cargas_referencia", true});
    return list;
}

// A stored value as a row value: numbers as numbers, texts as texts.
void read_value(const Statement& st, int column, Value& value) {
    switch (st.type(column)) {
        case StoredType::Null:
            value.set_null();
            break;
        case StoredType::Integer:
        case StoredType::Real:
            value.set_number(st.real(column));
            break;
        default:
            value.set_text(st.text(column));
    }
}

// A server cannot store a text holding NUL: the history is refused, naming the row, rather than
// copied cut.
void refuse_nul(const Copied& c, const std::vector<std::string>& columns, const Row& row,
                std::int64_t rowid) {
    const size_t value = value_with_nul(row);
    if (value == row.size()) return;
    throw nul_failure("la columna " + columns[value] + " de la fila " + std::to_string(rowid) +
                      " (rowid) de la tabla " + c.table);
}

// Copies one table's rows, in the order they were added, in batches; the rows copied.
long long copy_rows(const Copied& c, Database& server) {
    // The row number first, for naming a row the server cannot take.
    Statement st =
        c.from->prepare("SELECT rowid AS fila_corvela, * FROM " + c.table +
                        (c.where.empty() ? "" : " WHERE " + c.where) + " ORDER BY rowid");
    std::vector<std::string> columns;
    for (int i = 1; i < st.column_count(); ++i) columns.push_back(st.column_name(i));
    BulkInsert insert(server, c.target, columns);
    constexpr size_t kBatch = 1024;
    std::vector<Row> batch(kBatch, Row(columns.size()));
    size_t filled = 0;
    long long copied = 0;
    auto flush = [&] {
        BulkInsert::Outcome outcome = insert.insert(std::span(batch.data(), filled));
        if (outcome.failure) std::rethrow_exception(outcome.failure);
        copied += static_cast<long long>(filled);
        filled = 0;
    };
    while (st.step()) {
        Row& row = batch[filled];
        for (size_t i = 0; i < columns.size(); ++i) read_value(st, static_cast<int>(i) + 1, row[i]);
        if (!server.stores_nul()) refuse_nul(c, columns, row, st.integer(0));
        if (++filled == kBatch) flush();
    }
    if (filled) flush();
    return copied;
}
}  // namespace

Result<std::string> migrate_to_server(Database& work, Database& ref, const std::string& server) {
    std::unique_ptr<Database> target;
    try {
        target = open_server(server, ServerSchema::Working);
        if (!server_has_installation(*target))
            return Result<std::string>::failed(
                "El servidor no tiene las tablas de Corvela: créelas antes con corvela init "
                "CARPETA --server.");
        // Alone on the shared rows, as a change to them is: no desk saves while the history is
        // copied, and no second copy runs at once. The lock goes with the connection.
        if (!target->try_lock(Database::Lock::AllSharedRows))
            return Result<std::string>::stopped("Base de datos ocupada");
    } catch (const std::exception& e) {
        return Result<std::string>::failed(std::string("No se pudo usar el servidor: ") + e.what());
    }
    std::string report = fmt::format("{:<22}{:>12}{:>12}\n", "tabla", "instalación", "servidor");
    try {
        Transaction tx(*target);
        if (target->count("SELECT 1 FROM registros") > 0 ||
            target->count("SELECT 1 FROM radicacion") > 0)
            return Result<std::string>::failed(
                "El servidor ya tiene entregas guardadas; no se copió nada.");
        for (const Copied& c : tables_to_copy(work, ref)) {
            if (c.replace) target->exec("DELETE FROM " + c.target);
            const long long here = c.from->count("SELECT * FROM " + c.table +
                                                 (c.where.empty() ? "" : " WHERE " + c.where));
            copy_rows(c, *target);
            const long long there = target->count("SELECT * FROM " + c.target +
                                                  (c.where.empty() ? "" : " WHERE " + c.where));
            report += fmt::format("{:<22}{:>12}{:>12}\n", c.table, here, there);
        }
        tx.commit();
    } catch (const std::exception& e) {
        return Result<std::string>::failed(std::string("No se copió nada al servidor: ") +
                                           e.what());
    }
    return Result<std::string>::done(report);
}

}  // namespace corvela
