// `corvela reference import TABLE FILE`: replaces one reference table.
#include <cstdio>

#include "app/setup.h"
#include "cli/command.h"

namespace corvela::cli {

namespace {
struct ReferenceOptions {
    std::string table, csv;
};

int run_import(Program& program, const ReferenceOptions& opt) {
    std::string why = import_reference(*program.ref, *program.work, opt.table, opt.csv);
    if (!why.empty()) {
        std::fprintf(stderr, "%s\nLa tabla %s no cambió.\n", why.c_str(), opt.table.c_str());
        return kExitFailure;
    }
    std::printf("Tabla %s reemplazada.\n", opt.table.c_str());
    return kExitDone;
}
}  // namespace

Command add_reference(CLI::App& app, const GlobalOptions& global) {
    auto* sub = app.add_subcommand("reference", "Tablas de referencia");
    sub->require_subcommand(1);
    auto opt = std::make_shared<ReferenceOptions>();
    auto* import = sub->add_subcommand("import", "Reemplaza una tabla desde un CSV");
    import->add_option("TABLE", opt->table)->required();
    import->add_option("FILE", opt->csv)->required();
    return {sub, [opt, &global] {
                SessionOptions session;
                session.locks = true;
                return run_session(global, session, [&](Program& program, ConsoleUi&) {
                    return run_import(program, *opt);
                });
            }};
}

}  // namespace corvela::cli
