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

// Opens a connection to the server named by `conninfo` (a libpq connection string or URI);
// throws DatabaseFailure with the client library's text when the server cannot be reached.
// The working connection of desk `desk` sees that desk's tables first, then the shared ones.
std::unique_ptr<Database> open_server(const std::string& conninfo, ServerSchema schema,
                                      const std::string& desk = "principal");

// The schema of a desk's own tables.
std::string desk_schema(const std::string& desk);
// True when the server holds the desk's own tables.
bool desk_exists(Database& db, const std::string& desk);
// True when the server holds an installation made before desks: its working tables beside the
// shared ones.
bool server_before_desks(Database& db);
// Makes the desk's own tables, on a working connection of that desk, in the caller's
// transaction.
void add_desk(Database& db, const std::string& desk);
// Moves the working tables, run state, months and unsaved error rows of a server made before
// desks into the desk `principal`, on a working connection of that desk, in the caller's
// transaction.
void move_into_principal(Database& db);

// True when the server's database holds an installation already.
bool server_has_installation(Database& db);
// Makes, on a working connection, what the installation's tables need before they are made: the
// case-blind text type, the two schemas and the text functions.
void create_server_objects(Database& db);
// Takes away everything `create_server_objects` and the tables made after it made.
void drop_server_objects(Database& db);

}  // namespace corvela
