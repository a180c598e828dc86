// Moving an installation's saved history from its database folder to a PostgreSQL server whose
// tables `corvela init … --server` made.
#pragma once

#include <string>

#include "db/database.h"
#include "platform/result.h"

namespace corvela {

// Copies, in one transaction of the server, the final tables, the error rows of saved
// deliveries, the bookkeeping of saved deliveries (`registros`, `radicacion`, `periodos`,
// `consecutivo`), the sites, the EAPB registry and the reference tables with their load records
// (these replace the server's). The unsaved run stays behind; the installation is only read. It
// takes the server-wide lock alone (stopped when a desk's save or change holds it), and refuses a
// server that holds saved deliveries or a history holding a text the server cannot store. Done
// with the row counts of both sides per table.
Result<std::string> migrate_to_server(Database& work, Database& ref, const std::string& server);

}  // namespace corvela
