// `corvela-web`: the web service over an installation, for the desks of an office to work from a
// browser. It checks the installation as the other programs do at start-up, takes its address,
// says where it listens, and serves until it is asked to end (SIGTERM, Ctrl+C).
#include <CLI/CLI.hpp>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "app/program.h"
#include "headless/console_ui.h"
#include "headless/spanish_parser.h"
#include "platform/config.h"
#include "platform/stop_request.h"
#include "web/account_directory.h"
#include "web/listen_address.h"
#include "web/page_folder.h"
#include "web/service.h"

using namespace corvela;

namespace {
constexpr int kExitDone = 0;
constexpr int kExitFailure = 2;

int fail(const std::string& why) {
    std::fprintf(stderr, "corvela-web: %s\n", why.c_str());
    return kExitFailure;
}

// The installation's configuration, once start-up has opened its databases as the other programs
// do; none after start-up said why not. Start-up's boxes go to standard error, as the command line
// prints a failed start-up.
std::optional<Configuration> checked_installation(const std::string& config_option) {
    ConsoleUi ui(false, false, true);
    SystemClock clock;
    Program program(ui, clock);
    const bool started = program.start(configuration_path(config_option)).ok();
    ui.print_recorded(stderr);
    if (!started) return std::nullopt;
    return program.config;
}
}  // namespace

int main(int argc, char** argv) {
    CLI::App app{"Corvela en el navegador: servicio web sobre una instalación de Corvela"};
    prepare_parser(app, "corvela-web", std::string("corvela-web ") + CORVELA_VERSION);
    std::string config_option, listen_text = "127.0.0.1:8080";
    web::ServiceOptions options;
    app.add_option("--listen", listen_text,
                   "Dirección y puerto (ADDRESS:PORT, [IPv6]:PORT; puerto 0: uno libre)")
        ->capture_default_str();
    auto* cert = app.add_option("--tls-cert", options.tls_cert, "Certificado TLS (PEM)");
    auto* key = app.add_option("--tls-key", options.tls_key, "Clave del certificado (PEM)");
    cert->needs(key);
    key->needs(cert);
    app.add_option("--workers", options.workers, "Hilos que atienden solicitudes")
        ->capture_default_str()
        ->check(CLI::Range(4, 1024));
    int question_wait = static_cast<int>(options.waits.unanswered.count());
    app.add_option("--question-wait", question_wait,
                   "Segundos que una pregunta espera su respuesta antes de tomar la que conserva "
                   "los datos")
        ->capture_default_str()
        ->check(CLI::Range(1, 86400));
    finish_parser(app, config_option);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return app.exit(e) == 0 ? kExitDone : kExitFailure;
    }

    options.waits.unanswered = std::chrono::seconds(question_wait);
    const auto listen = web::parse_listen_address(listen_text);
    if (!listen) return fail("--listen espera DIRECCIÓN:PUERTO, no " + listen_text + ".");
    options.listen = *listen;
    options.config_file = configuration_path(config_option);
    options.pages = web::default_page_folder(argv[0]);
    if (options.pages.empty())
        std::fprintf(stderr,
                     "corvela-web: no se encontraron las páginas (share/corvela/web junto "
                     "al programa): se sirve solo la API.\n");
    const auto config = checked_installation(config_option);
    if (!config) return kExitFailure;
    const bool tls = !options.tls_cert.empty();
    if (auto why = web::listening_fault(*listen, tls, config->web.proxy_tls); !why.empty())
        return fail(why);

    try {
        web::AccountDirectory accounts(*config);
        auto server = web::make_http_server(options);
        if (!server.ok()) return fail(server.why());
        web::Service service(*config, options, accounts, std::move(server.value()));
        call_on_stop_request([&service] { service.stop(); });
        const int port = service.bind();
        if (port < 0)
            return fail("No se pudo escuchar en " + listen_text +
                        " (¿dirección ajena o puerto ocupado?).");
        const bool bracketed = listen->host.find(':') != std::string::npos;
        std::printf("corvela-web escucha en %s://%s%s%s:%d\n", tls ? "https" : "http",
                    bracketed ? "[" : "", listen->host.c_str(), bracketed ? "]" : "", port);
        std::fflush(stdout);
        service.run();
        // A run or a save still under way is given a moment to end; one that does not is cut
        // as a killed command is, with nothing half-stored.
        if (!service.wait_operations(std::chrono::seconds(10))) {
            std::fprintf(stderr,
                         "corvela-web: una operación seguía en curso al terminar el servicio; lo "
                         "que no terminó no quedó guardado.\n");
            std::fflush(stderr);
            std::_Exit(kExitDone);
        }
    } catch (const std::exception& e) {
        return fail(e.what());
    }
    return kExitDone;
}
