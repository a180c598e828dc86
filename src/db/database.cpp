#include "db/database.h"

#include "db/bulk_insert.h"
#include "db/sqlite_database.h"

namespace corvela {

// Every database of an installation is a SQLite file; a second engine is chosen here.
std::unique_ptr<Database> Database::open_existing(const std::string& path) {
    return std::make_unique<sqlite::SqliteDatabase>(path, false);
}

std::unique_ptr<Database> Database::create(const std::string& path) {
    return std::make_unique<sqlite::SqliteDatabase>(path, true);
}

std::unique_ptr<RowInserter> Database::inserter(std::string_view table,
                                                const std::vector<std::string>& columns) {
    return std::make_unique<StatementInserter>(*this, table, columns);
}

size_t value_with_nul(const Row& row) {
    for (size_t i = 0; i < row.size(); ++i)
        if (row[i].kind == Value::Kind::Text && row[i].text.find('\0') != std::string::npos)
            return i;
    return row.size();
}

DatabaseFailure nul_failure(const std::string& where) {
    // The server's own number for a character its texts cannot hold.
    return DatabaseFailure(
        22021, "El servidor no puede guardar el carácter NUL (código 0) que hay en " + where +
                   ": sus textos no lo admiten.");
}

}  // namespace corvela
