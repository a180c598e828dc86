#include "db/sqlite_functions.h"

#include <sqlite3.h>

#include <string>

#include "platform/text.h"

namespace corvela::sqlite {

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

}  // namespace corvela::sqlite
