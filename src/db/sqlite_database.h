// The SQLite engine: a connection to a database file, over SQLiteCpp, in WAL journal mode.
#pragma once

#include <SQLiteCpp/Database.h>

#include <memory>
#include <string>

#include "db/database.h"

namespace corvela::sqlite {

class SqliteDatabase : public Database {
  public:
    // Opens an existing file, or creates a new one when `create` (failing when it exists).
    SqliteDatabase(const std::string& path, bool create);

    void exec(const std::string& sql) override;
    Statement prepare(const std::string& sql) override;
    std::unique_ptr<Transaction::Engine> begin() override;
    std::int64_t last_insert_id() const override;
    bool has_table(const std::string& name) override;
    bool in_transaction() const override;
    DatabaseFailure disk_full() const override;
    std::string type_name(ColumnType type) const override;
    void set_schema_version(int version) override;

  private:
    SQLite::Database db_;
};

}  // namespace corvela::sqlite
