#include "web/service.h"

#include <cstdio>
#include <stdexcept>
#include <thread>

#include "web/delivery_api.h"
#include "web/eapb_api.h"
#include "web/operation_api.h"
#include "web/request_guard.h"
#include "web/results_api.h"
#include "web/retention.h"
#include "web/session_api.h"
#include "web/stored_api.h"

namespace corvela::web {

namespace {
// The largest body of a request that is no upload: a log-in or an answer is a few hundred bytes.
constexpr size_t kSmallBody = 64 * 1024;

// What an upload's body may hold besides its files: the parts' headers.
constexpr uint64_t kUploadOverhead = 1024 * 1024;

// The largest body an upload may announce: its files may pass the limit (their refusal names the
// file that does, and the rest is read and dropped) by the limit once more.
uint64_t upload_body_limit(const ServiceState& state) {
    return 2 * state.upload_limit() + kUploadOverhead;
}

// Bodies above their limit, or of unknown length, are refused before they are read: the small
// limit for every request but an upload, which streams to disk under the upload's own.
httplib::Server::HandlerResponse refuse_large_body(const ServiceState& state,
                                                   const httplib::Request& req,
                                                   httplib::Response& res) {
    const bool chunked =
        req.get_header_value("Transfer-Encoding").find("chunked") != std::string::npos;
    const auto length = req.get_header_value<uint64_t>("Content-Length");
    if (is_upload(req)) {
        if (length <= upload_body_limit(state)) return httplib::Server::HandlerResponse::Unhandled;
        refuse(res, 413,
               "La entrega pasa del límite de " + std::to_string(state.settings.upload_mb) +
                   " MB (web_subida_mb).");
        res.set_header("Connection", "close");
        return httplib::Server::HandlerResponse::Handled;
    }
    if (chunked || length > kSmallBody) {
        refuse(res, 413, "La solicitud es demasiado grande.");
        return httplib::Server::HandlerResponse::Handled;
    }
    return httplib::Server::HandlerResponse::Unhandled;
}
// What a page may load and do: the service's own scripts, styles, pictures and requests, nothing
// inline, nothing from elsewhere, never inside a frame.
constexpr const char* kPagePolicy =
    "default-src 'none'; script-src 'self'; style-src 'self'; img-src 'self'; "
    "connect-src 'self'; form-action 'self'; base-uri 'none'; frame-ancestors 'none'";

// The pages are files of the folder, each with its type and character set; a path that is no file
// there falls through to the API's routes.
void serve_pages(httplib::Server& s, const std::filesystem::path& pages) {
    if (pages.empty()) return;
    s.set_file_extension_and_mimetype_mapping("html", "text/html; charset=utf-8");
    s.set_file_extension_and_mimetype_mapping("css", "text/css; charset=utf-8");
    s.set_file_extension_and_mimetype_mapping("js", "text/javascript; charset=utf-8");
    s.set_file_extension_and_mimetype_mapping("svg", "image/svg+xml");
    s.set_mount_point("/", pages.string());
}
}  // namespace

Result<std::unique_ptr<httplib::Server>> make_http_server(const ServiceOptions& options) {
    using Made = Result<std::unique_ptr<httplib::Server>>;
    if (options.tls_cert.empty()) return Made::done(std::make_unique<httplib::Server>());
    auto server =
        std::make_unique<httplib::SSLServer>(options.tls_cert.c_str(), options.tls_key.c_str());
    if (!server->is_valid())
        return Made::failed("No se pudo cargar el certificado " + options.tls_cert +
                            " con la clave " + options.tls_key +
                            " (archivos PEM legibles, la clave sin contraseña).");
    return Made::done(std::move(server));
}

Service::Service(const Configuration& config, const ServiceOptions& options,
                 AccountDirectory& accounts, std::unique_ptr<httplib::Server> server)
    : options_(options),
      tls_(!options.tls_cert.empty()),
      server_(std::move(server)),
      state_(config, options.config_file, tls_, accounts, options.waits) {
    set_up();
}

Service::~Service() {
    {
        std::lock_guard lock(house_mutex_);
        stopping_ = true;
    }
    house_wake_.notify_all();
    if (house_.joinable()) house_.join();
}

void Service::keep_house() {
    constexpr auto kSessionsEvery = std::chrono::minutes(1);
    constexpr int kSweepEveryMinutes = 60;
    for (int minute = 0;; ++minute) {
        if (minute % kSweepEveryMinutes == 0) {
            try {
                if (const int removed = sweep_old_files(state_.config); removed > 0)
                    std::fprintf(stderr,
                                 "corvela-web: %d entregas o resultados vencidos borrados\n",
                                 removed);
            } catch (const std::exception& e) {
                std::fprintf(stderr,
                             "corvela-web: no se pudieron borrar los archivos vencidos: %s\n",
                             e.what());
            }
        }
        state_.works.end_unless(
            [this](const std::string& id) { return state_.sessions.alive(id); });
        std::unique_lock lock(house_mutex_);
        if (house_wake_.wait_for(lock, kSessionsEvery, [this] { return stopping_.load(); })) return;
    }
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
    s.set_payload_max_length(static_cast<size_t>(upload_body_limit(state_)));
    s.set_default_headers({{"X-Content-Type-Options", "nosniff"},
                           {"X-Frame-Options", "DENY"},
                           {"Content-Security-Policy", kPagePolicy},
                           {"Referrer-Policy", "no-referrer"},
                           {"Cache-Control", "no-store"}});
    s.set_pre_routing_handler([this](const httplib::Request& req, httplib::Response& res) {
        return refuse_large_body(state_, req, res);
    });
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
    add_operation_routes(s, state_);
    add_delivery_routes(s, state_);
    add_stored_routes(s, state_);
    add_results_routes(s, state_);
    add_eapb_routes(s, state_);
    serve_pages(s, options_.pages);
}

int Service::bind() {
    const auto& [host, port] = options_.listen;
    if (port == 0) return server_->bind_to_any_port(host);
    return server_->bind_to_port(host, port) ? port : -1;
}

bool Service::wait_operations(std::chrono::seconds wait) {
    return state_.works.end_all(wait);
}

void Service::run() {
    // Started here, after the program has set how it is asked to end (no thread before that).
    house_ = std::thread([this] { keep_house(); });
    if (!stopping_) server_->listen_after_bind();
    finished_ = true;
}

void Service::stop() {
    {
        std::lock_guard lock(house_mutex_);
        stopping_ = true;
    }
    house_wake_.notify_all();
    // Event streams end, so the server's threads are free to stop.
    state_.works.end_all();
    while (!finished_) {
        server_->stop();
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

}  // namespace corvela::web
