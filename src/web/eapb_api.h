// The EAPB registry window of a session, as the desktop program's window works: the entity shown,
// its boxes and lists, and the window's buttons, each an operation with the window's messages and
// questions (the deletion's, the name confirmation of "Actualizar", the input boxes of
// "Buscar"):
//   POST /api/eapb/ACCION   ACCION: abrir, primero, anterior, siguiente, ultimo, buscar, agregar,
//                           actualizar, eliminar, cerrar
// The body carries the operator's edits made before the button, as the window's boxes hold them:
// {"codigo", "responsable", "direccion", "fax", "telefono", "nombre"} (texts), {"tipo",
// "departamento", "municipio"} (the index chosen in each list), and "entradas", the answers to
// the input boxes the button will ask, in order (those not given are asked). The document adds
// "registro", the window after the button. The window stays open, with its own connection, until
// "cerrar" or the end of the session.
#pragma once

#include <httplib.h>

#include "web/service_state.h"

namespace corvela::web {

void add_eapb_routes(httplib::Server& server, ServiceState& state);

}  // namespace corvela::web
