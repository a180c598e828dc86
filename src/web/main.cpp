// `corvela-web`: the web service over an installation, for the desks of an office to work from a
// browser. It checks the installation as the other programs do at start-up, takes its address,
// says where it listens, and serves until it is asked to end (SIGTERM, Ctrl+C).
#include <CLI/CLI.hpp>
#include <cstdio>

#include "app/program.h"
#include "platform/config.h"
#include "platform/stop_request.h"
#include "web/account_directory.h"
#include "web/listen_address.h"
#include "web/service.h"

using namespace corvela;

namespace {
constexpr int kExitDone = 0;
constexpr int kExitFailure = 2;

// Start-up's messages, on standard error as the command line prints them.
class StartupUi : public Ui {
  public:
    void message(const std::string& text, const std::string& title, Icon) override {
        std::string shown = text;
        for (char& c : shown)
            if (c == '\r') c = '\n';
        std::fprintf(stderr, "[%s]\n%s\n", title.empty() ? kDefaultTitle : title.c_str(),
                     shown.c_str());
    }
    bool ask_yes_no(const std::string& text, const std::string& title, Icon icon, bool) override {
        message(text, title, icon);
        return false;
    }
};

int fail(const std::string& why) {
    std::fprintf(stderr, "corvela-web: %s\n", why.c_str());
    return kExitFailure;
}

// The installation's configuration, once start-up has opened its databases as the other programs
// do; none after start-up said why not.
std::optional<Configuration> checked_installation(const std::string& config_option) {
    StartupUi ui;
    SystemClock clock;
    Program program(ui, clock);
    if (!program.start(configuration_path(config_option))) return std::nullopt;
    return program.config;
}
}  // namespace

int main(int argc, char** argv) {
    CLI::App app{"Corvela en el navegador: servicio web sobre una instalación de Corvela"};
    app.set_help_flag("-h,--help", "Muestra esta ayuda y termina");
    app.set_version_flag("--version", std::string("corvela-web ") + CORVELA_VERSION,
                         "Muestra la versión y termina");
    std::string config_option, listen_text = "127.0.0.1:8080";
    web::ServiceOptions options;
    app.add_option("--config", config_option, "Archivo de configuración");
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
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return app.exit(e) == 0 ? kExitDone : kExitFailure;
    }

    const auto listen = web::parse_listen_address(listen_text);
    if (!listen) return fail("--listen espera DIRECCIÓN:PUERTO, no " + listen_text + ".");
    options.listen = *listen;
    const auto config = checked_installation(config_option);
    if (!config) return kExitFailure;
    const bool tls = !options.tls_cert.empty();
    if (auto why = web::listening_fault(*listen, tls, config->web.proxy_tls); !why.empty())
        return fail(why);

    try {
        web::AccountDirectory accounts(*config);
        web::Service service(*config, options, accounts);
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
    } catch (const std::exception& e) {
        return fail(e.what());
    }
    return kExitDone;
}
