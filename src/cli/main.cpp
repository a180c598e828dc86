// The `corvela` command: set-up, sites, reference tables, the validation run, saving, reports,
// clean-up and maintenance, headless. Each subcommand lives in a file of its own; this only wires
// them to the parser and runs the one chosen.
#include <CLI/CLI.hpp>

#include "cli/command.h"
#include "headless/spanish_parser.h"

using namespace corvela;
using namespace corvela::cli;

int main(int argc, char** argv) {
    CLI::App app{"Corvela: validador de archivos planos RIPS (Resolución 3374 de 2000)"};
    prepare_parser(app, "corvela", std::string("corvela ") + CORVELA_VERSION);
    app.require_subcommand(1);
    app.fallthrough();
    GlobalOptions global;
    global.argv0 = argv[0];

    const Command commands[] = {
        add_init(app, global),     add_sedes(app, global),  add_reference(app, global),
        add_validate(app, global), add_save(app, global),   add_deliveries(app, global),
        add_report(app, global),   add_clean(app, global),  add_delete(app, global),
        add_compact(app, global),  add_backup(app, global), add_migrate(app, global),
        add_usuarios(app, global),
    };
    finish_parser(app, global.config);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return app.exit(e) == 0 ? kExitDone : kExitFailure;
    }
    for (const auto& command : commands)
        if (*command.app) return command.run();
    return kExitDone;
}
