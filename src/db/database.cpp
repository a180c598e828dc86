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

void Database::create_table(std::string_view name, const TableColumns& columns, bool if_missing) {
    std::string sql = std::string("CREATE TABLE ") + (if_missing ? "IF NOT EXISTS " : "");
    sql += std::string(name) + " (";
    for (size_t i = 0; i < columns.size(); ++i) {
        const ColumnDefinition& c = columns[i];
        sql += (i ? ", " : "") + c.name + " " + type_name(c.type);
        if (!c.constraint.empty()) sql += " " + std::string(c.constraint);
    }
    if (std::string extra = row_number_column(); !extra.empty()) sql += ", " + extra;
    exec(sql + ")");
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
