#include "db/database.h"

#include "db/sqlite_database.h"

namespace corvela {

// Every database of an installation is a SQLite file; a second engine is chosen here.
std::unique_ptr<Database> Database::open_existing(const std::string& path) {
    return std::make_unique<sqlite::SqliteDatabase>(path, false);
}

std::unique_ptr<Database> Database::create(const std::string& path) {
    return std::make_unique<sqlite::SqliteDatabase>(path, true);
}

Transaction::Transaction(Database& db) : engine_(db.begin()) {}

}  // namespace corvela
