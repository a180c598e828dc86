// Removing stored data: "Limpiar DB" (the final tables and the month tables), the deletion of one
// saved radicación from the final tables, leaving the program (the working tables), and the
// maintenance of the database files (compacting, a consistent copy of both databases).
#pragma once

#include <filesystem>
#include <string>

#include "app/program.h"
#include "app/save.h"

namespace corvela {

// "Limpiar DB": two questions, then the final tables, `fechas` and `periodos` are emptied in one
// transaction. `registros`, `radicacion`, `consecutivo` and the error table stay.
Status empty_final_tables(Program& program);

// "Borrar información de un No. remisión/No. Radicación procesado" of the delete window: the
// final rows of the radicación named after the first "/" of `delivery`, the users matched on the
// number alone, and its `registros` rows marked deleted (`impresion` = 1). One transaction.
Status delete_delivery(Program& program, const std::string& ips_code, const std::string& delivery);

// "Salir": empties the working tables, keeps run state Initial and closes the working database.
// With a validated run not saved (run state NotSaved) it first asks whether to leave all the same,
// No by default; false when the operator stays (nothing changed).
bool leave_program(Program& program);

// Rebuilds the working database file, giving back the space of deleted rows.
void compact(Database& work);

// Writes a consistent copy of both databases into `folder` (created when missing) under their own
// file names, or fails saying why nothing (or not everything) was copied.
Status backup(Program& program, const std::filesystem::path& folder);

}  // namespace corvela
