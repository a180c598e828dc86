// The installation's databases on a PostgreSQL server, through libpq: the working database is the
// schema `corvela` of the server's database and the reference database its schema `referencia`,
// each reached through a connection of its own whose search path names it first.
#pragma once

#include <memory>
#include <string>

#include "db/database.h"

namespace corvela {

// Which of the installation's two databases a server connection stands for.
enum class ServerSchema { Working, Reference };

// The bounds a server connection keeps, in seconds: a save's wait for the number row, and how
// long the server keeps a transaction that waits on its desk (one that stopped answering).
struct ServerWaits {
    int number_row = 120;
    int idle_in_transaction = 300;
};

// The line that makes a database the server engine can use.
inline constexpr const char* kCreatedbLine =
    "createdb -T template0 -E UTF8 --locale=C --locale-provider=libc NOMBRE";

// Opens a connection to the server named by `conninfo` (a libpq connection string or URI);
// throws DatabaseFailure with the client library's text when the server cannot be reached, and
// with what was found when the database's encoding is not UTF8 or its locale not C of the C
// library. The working connection of desk `desk` sees that desk's tables first, then the shared
// ones.
std::unique_ptr<Database> open_server(const std::string& conninfo, ServerSchema schema,
                                      const std::string& desk = "principal",
                                      ServerWaits waits = {});
// Makes a working connection see the reference tables first, as a reference connection does,
// so that one connection (and one transaction) can make both.
void use_reference_schema(Database& db);
// True when the connection text holds a password (a `password` key, or a URI with one).
bool names_password(const std::string& conninfo);

// The schema of a desk's own tables.
std::string desk_schema(const std::string& desk);

}  // namespace corvela
