// The delivery's way through the service, for the desk of the session:
//   POST   /api/entregas             the files of one delivery (multipart/form-data: the files of
//                                    a folder, or one ZIP): 201 {"entrega", "archivos"}
//   GET    /api/entregas             the deliveries uploaded: [{"entrega", "archivos"}]
//   DELETE /api/entregas/NAME        one of them removed
//   POST   /api/validacion           {"entrega": NAME}: "Leer Archivos" over it, an operation whose
//                                    document is that of `corvela validate --json`; the errors
//                                    workbook of the IPS goes beside the error files, as the
//                                    desktop program writes it
//   POST   /api/guardado             {"remitente", "direccion", "telefono", "fax", "periodo"} (each
//                                    optional): "Guardar Registros" of the desk's last run, an
//                                    operation whose document adds "radicacion"
//   GET    /api/corrida              the desk's kept run: its state, header and months
#pragma once

#include <httplib.h>

#include "web/service_state.h"

namespace corvela::web {

void add_delivery_routes(httplib::Server& server, ServiceState& state);

// True for the path of the upload request, which has its own size limit.
bool is_upload(const httplib::Request& req);

}  // namespace corvela::web
