// The part of the API that follows a session's operations:
//   GET  /api/eventos                 the session's stream of server-sent events (one per session;
//                                     a heartbeat comment every 15 seconds; Last-Event-ID resumes)
//   GET  /api/operacion               the session's operation: state, question, messages, document
//   POST /api/operacion/respuesta     {"pregunta": N, "respuesta": "Sí"|"No"|TEXT}
// and the start of an operation, which every request that runs one answers the same way:
// 202 {"operacion": N}, or 409 while the session's operation before it still runs.
#pragma once

#include <httplib.h>

#include <string>

#include "web/operation.h"
#include "web/service_state.h"

namespace corvela::web {

void add_operation_routes(httplib::Server& server, ServiceState& state);

// Starts `body` as the session's next operation of kind `kind` and writes the answer.
void start_operation(ServiceState& state, const Session& session, httplib::Response& res,
                     const std::string& kind, Operation::Body body);

}  // namespace corvela::web
