#include "db/database.h"

#include <sqlite3.h>

#include <filesystem>
#include <string>

#include "platform/text.h"

namespace corvela {

namespace {
std::string text_arg(sqlite3_value* v) {
    const unsigned char* t = sqlite3_value_text(v);
    return t ? reinterpret_cast<const char*>(t) : "";
}

// val(text): the leading-number value of a text.
void fn_val(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) return sqlite3_result_null(ctx);
    sqlite3_result_double(ctx, leading_number_value(text_arg(argv[0])));
}

// mid(text, start[, length]) with a 1-based start, counted in characters.
void fn_mid(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) return sqlite3_result_null(ctx);
    std::string s = text_arg(argv[0]);
    long long start = sqlite3_value_int64(argv[1]);
    std::string r = argc > 2 ? mid_chars(s, static_cast<size_t>(start),
                                         static_cast<size_t>(sqlite3_value_int64(argv[2])))
                             : mid_chars(s, static_cast<size_t>(start));
    sqlite3_result_text(ctx, r.c_str(), static_cast<int>(r.size()), SQLITE_TRANSIENT);
}

// month(date) and year(date) of an ISO date text; null when the value is no date.
template <bool Month>
void fn_date_part(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) return sqlite3_result_null(ctx);
    auto d = parse_iso_date(text_arg(argv[0]));
    if (!d) return sqlite3_result_null(ctx);
    sqlite3_result_int(ctx, Month ? d->month : d->year);
}
}  // namespace

void register_functions(SQLite::Database& db) {
    sqlite3* h = db.getHandle();
    int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    sqlite3_create_function(h, "val", 1, flags, nullptr, fn_val, nullptr, nullptr);
    sqlite3_create_function(h, "mid", 2, flags, nullptr, fn_mid, nullptr, nullptr);
    sqlite3_create_function(h, "mid", 3, flags, nullptr, fn_mid, nullptr, nullptr);
    sqlite3_create_function(h, "month", 1, flags, nullptr, fn_date_part<true>, nullptr, nullptr);
    sqlite3_create_function(h, "year", 1, flags, nullptr, fn_date_part<false>, nullptr, nullptr);
}

Database::Database(const std::string& path, int flags) : db_(path, flags) {
    db_.setBusyTimeout(30000);
    register_functions(db_);
    db_.exec("PRAGMA journal_mode=WAL");
    db_.exec("PRAGMA synchronous=NORMAL");
    db_.exec("PRAGMA foreign_keys=OFF");
}

std::unique_ptr<Database> Database::open_existing(const std::string& path) {
    // A path that names no file must not create one.
    // A connection is used by one thread at a time (a run's writer takes it over while the
    // validating thread leaves it alone), so SQLite's own locking is not needed.
    return std::unique_ptr<Database>(
        new Database(path, SQLite::OPEN_READWRITE | SQLite::OPEN_NOMUTEX));
}

std::unique_ptr<Database> Database::create(const std::string& path) {
    if (std::filesystem::exists(path))
        throw SQLite::Exception("the database " + path + " exists already", SQLITE_CANTOPEN);
    return std::unique_ptr<Database>(
        new Database(path, SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE | SQLite::OPEN_NOMUTEX));
}

}  // namespace corvela
