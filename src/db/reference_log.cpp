#include "db/reference_log.h"

namespace corvela {

void record_load(Database& ref, const LoadRecord& r) {
    ref.create_table("cargas_referencia",
                     {{"tabla", ColumnType::Text},
                      {"archivo", ColumnType::ExactText},
                      {"sha256", ColumnType::ExactText},
                      {"fecha", ColumnType::ExactText},
                      {"filas", ColumnType::Integer},
                      {"origen", ColumnType::ExactText}},
                     true);
    Statement insert = ref.prepare(
        "INSERT INTO cargas_referencia (tabla, archivo, sha256, fecha, filas, "
        "origen) VALUES (?, ?, ?, ?, ?, ?)");
    insert.bind(1, r.table);
    insert.bind(2, r.file);
    insert.bind(3, r.sha256);
    insert.bind(4, r.time);
    insert.bind(5, static_cast<int64_t>(r.rows));
    insert.bind(6, r.source);
    insert.exec();
}

std::optional<LoadRecord> last_load(Database& ref, const std::string& table) {
    if (!ref.has_table("cargas_referencia")) return std::nullopt;
    Statement st = ref.prepare(
        "SELECT tabla, archivo, sha256, fecha, filas, origen FROM "
        "cargas_referencia WHERE tabla = ? ORDER BY rowid DESC LIMIT 1");
    st.bind(1, table);
    if (!st.step()) return std::nullopt;
    return LoadRecord{st.text(0), st.text(1), st.text(2), st.text(3), st.integer(4), st.text(5)};
}

}  // namespace corvela
