// `corvela init DBDIR [--server URI]`: both databases with the shipped reference rows (in DBDIR,
// or on a PostgreSQL server), and the configuration file.
#include <cstdio>

#include "app/setup.h"
#include "cli/command.h"
#include "platform/clock.h"
#include "platform/config.h"

namespace corvela::cli {

namespace {
struct InitOptions {
    std::string db_dir, results_dir, reference_dir, server, desk;
};
}  // namespace

Command add_init(CLI::App& app, const GlobalOptions& global) {
    auto* sub = app.add_subcommand("init", "Crea las bases de datos y el archivo de configuración");
    auto opt = std::make_shared<InitOptions>();
    sub->add_option("DBDIR", opt->db_dir, "Carpeta de las bases de datos")->required();
    sub->add_option("--results", opt->results_dir, "Carpeta raíz de los resultados");
    sub->add_option("--reference", opt->reference_dir, "Carpeta de los datos de referencia (CSV)");
    sub->add_option(
        "--server", opt->server,
        "Servidor PostgreSQL (cadena de conexión o URI de libpq; la contraseña va en "
        "~/.pgpass): las tablas se crean allí y DBDIR guarda el bloqueo y los informes");
    sub->add_option("--desk", opt->desk,
                    "Puesto de trabajo en el servidor (1 a 30 de a-z, 0-9 y _); en un servidor que "
                    "ya tiene las tablas, agrega solo ese puesto")
        ->check([](const std::string& v) {
            return is_desk_name(v) ? std::string() : std::string("nombre de puesto no válido");
        });
    return {sub, [opt, &global] {
                if (!opt->desk.empty() && opt->server.empty()) {
                    std::fprintf(stderr, "--desk necesita --server\n");
                    return kExitFailure;
                }
                auto reference = opt->reference_dir.empty()
                                     ? default_reference_folder(global.argv0)
                                     : std::filesystem::path(opt->reference_dir);
                auto made = init_installation(opt->db_dir, opt->results_dir, reference,
                                              configuration_path(global.config), SystemClock{},
                                              opt->server, opt->desk);
                std::printf("%s\n", made.ok() ? made.value().c_str() : made.why().c_str());
                return made.ok() ? kExitDone : kExitFailure;
            }};
}

}  // namespace corvela::cli
