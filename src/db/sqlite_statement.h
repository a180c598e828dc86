// The SQLite engine's prepared statement, over SQLiteCpp.
#pragma once

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>

#include "db/statement.h"

namespace corvela::sqlite {

class SqliteStatement : public Statement::Engine {
  public:
    SqliteStatement(SQLite::Database& db, const std::string& sql);

    void bind_text(int index, const std::string& text) override;
    void bind_kept_text(int index, const std::string& text) override;
    void bind_integer(int index, std::int64_t value) override;
    void bind_real(int index, double value) override;
    void bind_null(int index) override;
    bool step() override;
    void execute() override;
    void reset() override;
    void clear_bindings() override;
    int column_count() const override;
    std::string column_name(int column) const override;
    StoredType column_type(int column) const override;
    std::string text(int column) const override;
    std::int64_t integer(int column) const override;
    double real(int column) const override;
    DatabaseFailure failure(Fault fault, const std::string& text) const override;

  private:
    SQLite::Statement statement_;
};

}  // namespace corvela::sqlite
