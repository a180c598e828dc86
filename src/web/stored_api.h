// The saved deliveries, as the report and delete windows and "Limpiar DB" reach them:
//   GET  /api/informes                         the IPS with saved deliveries and their deliveries,
//                                              as the report window lists them ("Informe")
//   GET  /api/informes/resumen?ips=NAME&entrega=TEXT[&formato=json|texto|html|xlsx]
//   GET  /api/informes/inconsistencias?…       a report: the document of `corvela report --json`,
//                                              its aligned text, its HTML page or its workbook
//   GET  /api/borrado                          the lists of the delete window
//   POST /api/borrado  {"ips", "entrega"}      the deletion of a saved delivery (an operation
//                                              with the window's question, No by default)
//   POST /api/limpieza                         "Limpiar DB" (an operation with its two
//                                              questions, No by default)
#pragma once

#include <httplib.h>

#include "web/service_state.h"

namespace corvela::web {

void add_stored_routes(httplib::Server& server, ServiceState& state);

}  // namespace corvela::web
