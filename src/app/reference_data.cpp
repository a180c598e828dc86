#include "app/reference_data.h"

#include <fmt/format.h>

#include "db/reference_store.h"

namespace corvela {

namespace {
Database& store_of(const ReferenceTable& table, Database& ref, Database& work) {
    return table.store == Store::Working ? work : ref;
}
}  // namespace

void load_reference_rows(Database& ref, Database& work, const std::filesystem::path& folder) {
    SQLite::Transaction ref_tx(ref.db());
    SQLite::Transaction work_tx(work.db());
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().extension() != ".csv") continue;
        const ReferenceTable* table = find_reference_table(entry.path().stem().string());
        if (!table)
            throw CsvError(fmt::format("{}: no existe la tabla de referencia {}",
                                       entry.path().filename().string(),
                                       entry.path().stem().string()));
        const auto rows = reference_rows(*table, read_csv(entry.path()));
        write_reference_rows(store_of(*table, ref, work), *table, rows, false);
        // The EAPB registry lists municipalities from the working database.
        if (table == find_reference_table("r_municipios"))
            write_reference_rows(work, *find_reference_table("municipios"), rows, false);
    }
    ref_tx.commit();
    work_tx.commit();
}

ImportReport import_reference(Database& ref, Database& work, const std::string& name,
                              const std::filesystem::path& csv, const ColumnMapping& mapping) {
    const ReferenceTable* table = find_reference_table(name);
    if (!table)
        return {fmt::format("No existe la tabla de referencia {}. Las tablas son: {}.", name,
                            reference_table_names()),
                {}};
    std::vector<CsvRow> rows;
    try {
        rows = reference_rows(*table, read_csv(csv), mapping);
    } catch (const CsvError& e) {
        return {e.what(), {}};
    }
    Database& db = store_of(*table, ref, work);
    SQLite::Transaction tx(db.db());
    write_reference_rows(db, *table, rows, true);
    tx.commit();
    return {{},
            fmt::format("Tabla {} reemplazada: {} filas de {}.", table->name, rows.size(),
                        csv.filename().string())};
}

}  // namespace corvela
