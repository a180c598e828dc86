// What a request of a logged-in operator must show: the session cookie of a live session whose
// account still exists with the same password, and, when it changes anything (any method but
// GET and HEAD), the session's CSRF token in the header X-CSRF-Token. A request that fails gets
// its refusal written (401 or 403) and no session. Also the cookie's own texts, the address a
// request comes from, and the JSON answers every handler writes.
#pragma once

#include <httplib.h>

#include <nlohmann/json.hpp>
#include <optional>
#include <string>

#include "web/service_state.h"

namespace corvela::web {

inline constexpr const char* kSessionCookie = "corvela_sesion";
inline constexpr const char* kCsrfHeader = "X-CSRF-Token";

// The session of the request, checked as above; none after writing the refusal.
std::optional<Session> guarded_session(ServiceState& state, const httplib::Request& req,
                                       httplib::Response& res);

// The value of the session cookie the request carries, or empty.
std::string session_cookie(const httplib::Request& req);
// The Set-Cookie text that gives the browser the session `id`, or (empty id) takes it away.
std::string session_cookie_header(const std::string& id, bool secure);

// The address the request comes from: behind a proxy, the last address the proxy added to
// X-Forwarded-For; otherwise the peer's.
std::string client_address(const ServiceState& state, const httplib::Request& req);

// The request's body as a JSON object (an empty body is an empty object); none after refusing it
// (400) when it is no JSON object.
std::optional<nlohmann::json> json_body(const httplib::Request& req, httplib::Response& res);

// A request handler of the API, given what the handlers share, and the same as the server takes it.
using ApiHandler = void (*)(ServiceState&, const httplib::Request&, httplib::Response&);
inline httplib::Server::Handler bound(ServiceState& state, ApiHandler handler) {
    return [&state, handler](const httplib::Request& req, httplib::Response& res) {
        handler(state, req, res);
    };
}

// Writes `body` as the JSON answer with `status`.
void reply(httplib::Response& res, int status, const nlohmann::ordered_json& body);
// Writes the refusal {"error": text} with `status`.
void refuse(httplib::Response& res, int status, const std::string& text);

}  // namespace corvela::web
