#include "web/request_guard.h"

#include "platform/secrets.h"
#include "platform/text.h"

namespace corvela::web {

namespace {
bool changes_state(const httplib::Request& req) {
    return req.method != "GET" && req.method != "HEAD";
}
}  // namespace

std::optional<Session> guarded_session(ServiceState& state, const httplib::Request& req,
                                       httplib::Response& res) {
    const std::string id = session_cookie(req);
    auto session = id.empty() ? std::nullopt : state.sessions.touch(id);
    if (session) {
        // An account removed, or its password changed, since the log-in ends the session.
        const auto account = state.accounts.find(session->account);
        if (!account || account->hash != session->hash || account->desk != session->desk) {
            state.end_session(id);
            session.reset();
        }
    }
    if (!session) {
        res.set_header("Set-Cookie", session_cookie_header("", state.secure));
        refuse(res, 401, "La sesión terminó o no existe. Ingrese de nuevo.");
        return std::nullopt;
    }
    if (changes_state(req) && !same_token(req.get_header_value(kCsrfHeader), session->csrf)) {
        refuse(res, 403,
               "La solicitud no trae el código de seguridad de la sesión (CSRF) o no es el de "
               "esta sesión. Recargue la página e intente de nuevo.");
        return std::nullopt;
    }
    return session;
}

std::string session_cookie(const httplib::Request& req) {
    const std::string wanted = std::string(kSessionCookie) + "=";
    for (size_t i = 0; i < req.get_header_value_count("Cookie"); ++i) {
        const std::string header = req.get_header_value("Cookie", i);
        size_t start = 0;
        while (start <= header.size()) {
            size_t end = header.find(';', start);
            if (end == std::string::npos) end = header.size();
            const std::string_view pair = trim(std::string_view(header).substr(start, end - start));
            if (pair.substr(0, wanted.size()) == wanted)
                return std::string(pair.substr(wanted.size()));
            start = end + 1;
        }
    }
    return {};
}

std::string session_cookie_header(const std::string& id, bool secure) {
    return std::string(kSessionCookie) + "=" + id + "; Path=/; HttpOnly; SameSite=Strict" +
           (id.empty() ? "; Max-Age=0" : "") + (secure ? "; Secure" : "");
}

std::string client_address(const ServiceState& state, const httplib::Request& req) {
    if (state.settings.proxy_tls && req.has_header("X-Forwarded-For")) {
        const std::string chain = req.get_header_value("X-Forwarded-For");
        const size_t comma = chain.rfind(',');
        return std::string(trim(comma == std::string::npos ? chain : chain.substr(comma + 1)));
    }
    return req.remote_addr;
}

std::optional<nlohmann::json> json_body(const httplib::Request& req, httplib::Response& res) {
    if (req.body.empty()) return nlohmann::json::object();
    auto body = nlohmann::json::parse(req.body, nullptr, false);
    if (!body.is_object()) {
        refuse(res, 400, "El cuerpo de la solicitud no es un objeto JSON.");
        return std::nullopt;
    }
    return body;
}

void reply(httplib::Response& res, int status, const nlohmann::ordered_json& body) {
    res.status = status;
    // Texts come from the delivery's files; a byte that is not UTF-8 is replaced, not fatal.
    res.set_content(body.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace),
                    "application/json; charset=utf-8");
}

void refuse(httplib::Response& res, int status, const std::string& text) {
    reply(res, status, {{"error", text}});
}

}  // namespace corvela::web
