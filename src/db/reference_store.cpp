#include "db/reference_store.h"

namespace corvela {

void write_reference_rows(Database& db, const ReferenceTable& table,
                          const std::vector<CsvRow>& rows, bool replace) {
    const std::string name = std::string("\"") + table.name + "\"";
    if (replace) db.exec("DELETE FROM " + name);
    std::string columns, marks;
    for (const auto& c : table.columns) {
        columns += (columns.empty() ? "\"" : ", \"") + std::string(c.name) + "\"";
        marks += marks.empty() ? "?" : ", ?";
    }
    Statement insert =
        db.prepare("INSERT INTO " + name + " (" + columns + ") VALUES (" + marks + ")");
    for (const auto& row : rows) {
        for (size_t i = 0; i < row.values.size(); ++i) {
            const int at = static_cast<int>(i + 1);
            if (row.values[i].empty())
                insert.bind(at);
            else
                insert.bind_kept(at, row.values[i]);
        }
        insert.exec();
        insert.reset();
    }
}

}  // namespace corvela
