// The session's part of the web service's API, in JSON:
//   POST   /api/sesion  {"usuario": NAME, "clave": PASSWORD}  log-in: a new session and its cookie
//   GET    /api/sesion                                         the session: account, desk, CSRF
//   token DELETE /api/sesion  (X-CSRF-Token)                         log-out: the session ends
// A failed log-in says only that the name or the password is wrong; a name or an address that
// failed before waits its delay first (429, with Retry-After).
#pragma once

#include <httplib.h>

#include "web/service_state.h"

namespace corvela::web {

void add_session_routes(httplib::Server& server, ServiceState& state);

}  // namespace corvela::web
