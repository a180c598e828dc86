// The files of the desk's runs (error files, accepted-lines files, workbooks) in its results folder
// `puestos/<desk>/Validacion/`, for downloading:
//   GET    /api/resultados                  [{"nombre", "bytes"}]
//   GET    /api/resultados/NAME             one file
//   GET    /api/resultados.zip[?archivo=NAME…]  those named (all when none is) as one ZIP
//   DELETE /api/resultados                  every file removed (not while the desk's lock is held)
// Only plain names of files in that folder are served: nothing outside it is reached.
#pragma once

#include <httplib.h>

#include "web/service_state.h"

namespace corvela::web {

void add_results_routes(httplib::Server& server, ServiceState& state);

}  // namespace corvela::web
