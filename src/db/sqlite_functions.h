// The text functions every SQLite connection registers: `val`, `mid`, `month` and `year`.
#pragma once

#include <SQLiteCpp/Database.h>

namespace corvela::sqlite {

void register_functions(SQLite::Database& db);

}  // namespace corvela::sqlite
