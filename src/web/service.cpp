#include "web/service.h"

#include <cstdio>
#include <stdexcept>
#include <thread>

#include "web/request_guard.h"
#include "web/session_api.h"

namespace corvela::web {

namespace {
// The largest body of a request that is no upload: a log-in or an answer is a few hundred bytes.
constexpr size_t kSmallBody = 64 * 1024;

std::unique_ptr<httplib::Server> make_server(const ServiceOptions& options) {
    if (options.tls_cert.empty()) return std::make_unique<httplib::Server>();
    auto server =
        std::make_unique<httplib::SSLServer>(options.tls_cert.c_str(), options.tls_key.c_str());
    if (!server->is_valid())
        throw std::runtime_error("No se pudo cargar el certificado " + options.tls_cert +
                                 " con la clave " + options.tls_key +
                                 " (archivos PEM legibles, la clave sin contraseña).");
    return server;
}

// Bodies above the small limit, or of unknown length, are refused before they are read.
httplib::Server::HandlerResponse refuse_large_body(const httplib::Request& req,
                                                   httplib::Response& res) {
    const bool chunked =
        req.get_header_value("Transfer-Encoding").find("chunked") != std::string::npos;
    if (chunked || req.get_header_value<uint64_t>("Content-Length") > kSmallBody) {
        refuse(res, 413, "La solicitud es demasiado grande.");
        return httplib::Server::HandlerResponse::Handled;
    }
    return httplib::Server::HandlerResponse::Unhandled;
}
}  // namespace

Service::Service(const Configuration& config, const ServiceOptions& options,
                 AccountDirectory& accounts)
    : options_(options),
      tls_(!options.tls_cert.empty()),
      server_(make_server(options)),
      state_(config, tls_, accounts) {
    set_up();
}

void Service::set_up() {
    httplib::Server& s = *server_;
    const auto workers = static_cast<size_t>(options_.workers);
    s.new_task_queue = [workers] { return new httplib::ThreadPool(workers); };
    // Long enough for a slow office link; short enough that a silent client lets go.
    s.set_read_timeout(60);
    s.set_write_timeout(60);
    s.set_keep_alive_timeout(10);
    s.set_keep_alive_max_count(1000);
    s.set_payload_max_length(static_cast<size_t>(state_.settings.upload_mb) * 1024 * 1024);
    s.set_default_headers({{"X-Content-Type-Options", "nosniff"},
                           {"X-Frame-Options", "DENY"},
                           {"Referrer-Policy", "no-referrer"},
                           {"Cache-Control", "no-store"}});
    s.set_pre_routing_handler(refuse_large_body);
    s.set_error_handler([](const httplib::Request&, httplib::Response& res) {
        if (!res.body.empty()) return;
        refuse(res, res.status,
               res.status == 404
                   ? std::string("No existe.")
                   : "Solicitud no atendida (HTTP " + std::to_string(res.status) + ").");
    });
    s.set_exception_handler(
        [](const httplib::Request& req, httplib::Response& res, std::exception_ptr failure) {
            std::string what = "falla desconocida";
            try {
                std::rethrow_exception(failure);
            } catch (const std::exception& e) {
                what = e.what();
            } catch (...) {
            }
            std::fprintf(stderr, "corvela-web: %s %s: %s\n", req.method.c_str(), req.path.c_str(),
                         what.c_str());
            refuse(res, 500, "El servicio no pudo atender la solicitud: " + what);
        });
    s.set_logger([this](const httplib::Request& req, const httplib::Response& res) {
        std::fprintf(stderr, "%s %s %s %d\n", client_address(state_, req).c_str(),
                     req.method.c_str(), req.path.c_str(), res.status);
    });
    add_session_routes(s, state_);
}

int Service::bind() {
    const auto& [host, port] = options_.listen;
    if (port == 0) return server_->bind_to_any_port(host);
    return server_->bind_to_port(host, port) ? port : -1;
}

void Service::run() {
    if (!stopping_) server_->listen_after_bind();
    finished_ = true;
}

void Service::stop() {
    stopping_ = true;
    while (!finished_) {
        server_->stop();
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

}  // namespace corvela::web
