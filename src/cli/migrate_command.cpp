// `corvela migrate --to-server URI`: the saved history of this installation's database folder
// copied to a server made with `corvela init … --server URI`.
#include <cstdio>

#include "app/accounts.h"
#include "app/migration.h"
#include "app/program.h"
#include "cli/command.h"

namespace corvela::cli {

namespace {
int run_migrate(Program& program, const std::string& server) {
    if (program.work->on_server()) {
        std::fprintf(stderr, "Esta instalación ya guarda su historia en un servidor.\n");
        return kExitFailure;
    }
    auto moved = migrate_to_server(*program.work, *program.ref, server);
    if (moved.ending() == Ending::Stopped) {
        program.ui.message(kBusyText, kBusyTitle, Icon::Exclamation);
        return kExitStopped;
    }
    if (!moved.ok()) {
        std::fprintf(stderr, "%s\n", moved.why().c_str());
        return kExitStopped;
    }
    std::printf("%s", moved.value().c_str());
    std::fflush(stdout);
    // The web service's accounts stay behind: each names a desk of this installation, and the
    // server's accounts are made there for its own desks.
    const size_t accounts =
        program.work->has_table("cuentas_web") ? list_accounts(*program.work).size() : 0;
    if (accounts > 0)
        std::fprintf(stderr,
                     "corvela: las cuentas del servicio web (%zu) no se copian; créelas en el "
                     "servidor con corvela usuarios add NOMBRE --desk PUESTO.\n",
                     accounts);
    return kExitDone;
}
}  // namespace

Command add_migrate(CLI::App& app, const GlobalOptions& global) {
    auto* sub = app.add_subcommand(
        "migrate", "Copia la historia guardada de esta instalación a un servidor PostgreSQL");
    auto server = std::make_shared<std::string>();
    sub->add_option("--to-server", *server,
                    "Servidor (cadena de conexión o URI de libpq) hecho con corvela init --server")
        ->required();
    return {sub, [server, &global] {
                return run_session(global, {}, [&](Program& program, ConsoleUi&) {
                    return run_migrate(program, *server);
                });
            }};
}

}  // namespace corvela::cli
