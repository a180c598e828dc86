// The tables and views of the working database `registros_ips.db` and of the reference
// database `Ref_rips.db`. The schema carries a version in `PRAGMA user_version`.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "db/database.h"
#include "db/file_types.h"

namespace corvela {

inline constexpr int kSchemaVersion = 1;

// Every table of the working database, in one transaction.
void create_working_schema(Database& db);
// On a server with desks, the working database's tables in two parts, in the caller's
// transaction: those every desk shares (final tables, the error rows of saved deliveries,
// numbering, bookkeeping, sites, EAPB registry, report views) and those of one desk (working
// tables, the error rows of its unsaved run, its months, run state and control-file table).
void create_shared_tables(Database& db);
void create_desk_tables(Database& db);
// The web service's accounts, a table every desk shares: made by `init`, and by the first change
// of accounts in an installation made before them.
void create_accounts_table(Database& db);
// The error table's columns as a list ("nro_radicacion, COD_EAPB, …, C30").
std::string error_columns();
void create_reference_schema(Database& db);

// The columns of a working table as the schema defines them, in their order (empty when no
// file type has the table).
std::vector<std::string> working_columns(std::string_view table);

}  // namespace corvela
