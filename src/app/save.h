// "Guardar Registros": saving the delivery of the last run. The save draws the next radicación
// number, writes the bookkeeping rows (`registros`, `periodos`, `radicacion`), stamps the working
// tables and the error table with the number and copies every working table into its final table,
// all inside one transaction: a failure leaves the database as it was and the run state "N".
#pragma once

#include <string_view>

#include "app/program.h"
#include "platform/result.h"

namespace corvela {

// The save check (blank header values, run state), then `store_delivery`, then run state Saved.
Status save_delivery(Program& program);

// The save itself, one transaction. On success the delivery's header is cleared, the months grid is
// refreshed (now empty), the delivery holds its new number and the end message is shown.
Status store_delivery(Program& program);

// What the failure message of an operation on stored data says was being done.
inline constexpr std::string_view kAlLeerRegistros = " al leer archivo de Registros";

}  // namespace corvela
