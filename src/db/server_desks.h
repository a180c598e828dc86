// The administration of an installation on a PostgreSQL server: what the installation's tables
// need before they are made (the case-blind text type, the two schemas, the text functions), the
// desks and their own tables, and the move of a server made before desks into the desk
// `principal`. The engine itself is in server_database.
#pragma once

#include <string>

#include "db/database.h"

namespace corvela {

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

}  // namespace corvela
