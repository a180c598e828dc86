// Access to the two SQLite databases. Every connection registers the functions `val`, `mid`,
// `month` and `year`, so that statements read as the validator's texts write them. Only
// `corvela init` creates database files; everything else opens existing ones.
#pragma once

#include <SQLiteCpp/SQLiteCpp.h>

#include <memory>
#include <string>

namespace corvela {

class Database {
  public:
    // Opens an existing database file; throws SQLite::Exception when it does not open.
    static std::unique_ptr<Database> open_existing(const std::string& path);
    // Creates a new database file; throws when it exists already.
    static std::unique_ptr<Database> create(const std::string& path);

    SQLite::Database& db() { return db_; }
    void exec(const std::string& sql) { db_.exec(sql); }
    // Number of rows a SELECT returns (bound values in `...`).
    template <typename... Args>
    long long count(const std::string& sql, const Args&... args) {
        SQLite::Statement st(db_, "SELECT count(*) FROM (" + sql + ")");
        int i = 1;
        (st.bind(i++, args), ...);
        st.executeStep();
        return st.getColumn(0).getInt64();
    }

  private:
    Database(const std::string& path, int flags);
    SQLite::Database db_;
};

void register_functions(SQLite::Database& db);

}  // namespace corvela
