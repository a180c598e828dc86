#include "web/session_api.h"

#include "web/request_guard.h"

namespace corvela::web {

namespace {
nlohmann::ordered_json session_json(const ServiceState& state, const Session& session) {
    return {{"usuario", session.account},
            {"puesto", session.desk},
            {"csrf", session.csrf},
            {"minutos_inactiva", state.sessions.idle().count()}};
}

// The name and password of a log-in's body; false when the body is no such JSON object.
bool read_credentials(const httplib::Request& req, std::string& name, std::string& password) {
    const auto body = nlohmann::json::parse(req.body, nullptr, false);
    if (!body.is_object() || !body.contains("usuario") || !body.contains("clave") ||
        !body["usuario"].is_string() || !body["clave"].is_string())
        return false;
    name = body["usuario"].get<std::string>();
    password = body["clave"].get<std::string>();
    return true;
}

void log_in(ServiceState& state, const httplib::Request& req, httplib::Response& res) {
    // A form of another site cannot send JSON without the browser asking this service first.
    if (req.get_header_value("Content-Type").rfind("application/json", 0) != 0)
        return refuse(res, 415, "El ingreso se envía como JSON.");
    std::string name, password;
    if (!read_credentials(req, name, password))
        return refuse(res, 400, "Faltan el usuario o la clave.");
    const std::string address = client_address(state, req);
    if (int wait = state.throttle.wait_seconds(name, address); wait > 0) {
        res.set_header("Retry-After", std::to_string(wait));
        return refuse(res, 429,
                      "Demasiados intentos fallidos. Espere " + std::to_string(wait) +
                          " segundos y vuelva a intentarlo.");
    }
    const auto account = state.accounts.check(name, password);
    if (!account) {
        state.throttle.failed(name, address);
        return refuse(res, 401, "Usuario o contraseña incorrectos.");
    }
    state.throttle.succeeded(name);
    // The session the browser had, if any, ends: a log-in never keeps an identifier.
    if (const std::string old = session_cookie(req); !old.empty()) state.end_session(old);
    const Session session = state.sessions.open(*account);
    res.set_header("Set-Cookie", session_cookie_header(session.id, state.secure));
    reply(res, 200, session_json(state, session));
}

void show_session(ServiceState& state, const httplib::Request& req, httplib::Response& res) {
    if (auto session = guarded_session(state, req, res))
        reply(res, 200, session_json(state, *session));
}

void log_out(ServiceState& state, const httplib::Request& req, httplib::Response& res) {
    auto session = guarded_session(state, req, res);
    if (!session) return;
    state.end_session(session->id);
    res.set_header("Set-Cookie", session_cookie_header("", state.secure));
    reply(res, 200, {{"sesion", "terminada"}});
}
}  // namespace

void add_session_routes(httplib::Server& server, ServiceState& state) {
    server.Post("/api/sesion", bound(state, log_in));
    server.Get("/api/sesion", bound(state, show_session));
    server.Delete("/api/sesion", bound(state, log_out));
}

}  // namespace corvela::web
