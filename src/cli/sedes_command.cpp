// `corvela sedes add|import|list`: the habilitated sites.
#include <cstdio>

#include "app/setup.h"
#include "cli/command.h"
#include "headless/aligned_table.h"

namespace corvela::cli {

namespace {
struct SedesOptions {
    Site site;
    std::string csv;
};

// The sites in the columns the list has always had, each widened to its widest cell.
void print_sites(const std::vector<Site>& sites) {
    std::vector<TableRow> rows;
    for (const auto& s : sites)
        rows.push_back({s.habilitacion, s.nombre, s.gerente, s.DIRECCION, s.fax, s.TELEFONO});
    std::fputs(aligned_table({"habilitacion", "nombre", "gerente", "DIRECCION", "fax", "TELEFONO"},
                             rows, {12, 30, 25, 25, 12, 12})
                   .c_str(),
               stdout);
}

int run_add(Program& program, const Site& site) {
    Status added = add_site(*program.work, site);
    if (!added.ok()) {
        std::fprintf(stderr, "%s\n", added.why().c_str());
        return kExitFailure;
    }
    std::printf("Sede %s registrada.\n", site.habilitacion.c_str());
    return kExitDone;
}

int run_import(Program& program, const std::string& csv) {
    Status imported = import_sites(*program.work, csv);
    if (!imported.ok()) {
        std::fprintf(stderr, "%s\nNo se cargó ninguna sede.\n", imported.why().c_str());
        return kExitFailure;
    }
    std::printf("Sedes cargadas de %s.\n", csv.c_str());
    return kExitDone;
}
}  // namespace

Command add_sedes(CLI::App& app, const GlobalOptions& global) {
    auto* sub = app.add_subcommand("sedes", "Sedes habilitadas");
    sub->require_subcommand(1);
    auto opt = std::make_shared<SedesOptions>();
    auto* add = sub->add_subcommand("add", "Registra una sede");
    add->add_option("CODE", opt->site.habilitacion, "Código de habilitación (12 caracteres)")
        ->required();
    add->add_option("--nombre", opt->site.nombre, "Nombre de la sede")->required();
    add->add_option("--gerente", opt->site.gerente, "Gerente");
    add->add_option("--direccion", opt->site.DIRECCION, "Dirección");
    add->add_option("--telefono", opt->site.TELEFONO, "Teléfono");
    add->add_option("--fax", opt->site.fax, "Fax");
    auto* import = sub->add_subcommand("import", "Carga sedes desde un CSV");
    import
        ->add_option("FILE", opt->csv,
                     "CSV con el encabezado habilitacion,nombre,gerente,DIRECCION,fax,TELEFONO")
        ->required();
    auto* list = sub->add_subcommand("list", "Lista las sedes");
    return {sub, [opt, &global, add, import, list] {
                SessionOptions session;
                session.locks = add->parsed() || import->parsed();
                session.reach = Reach::SharedRows;
                return run_session(global, session, [&](Program& program, ConsoleUi&) {
                    if (*add) return run_add(program, opt->site);
                    if (*import) return run_import(program, opt->csv);
                    if (*list) print_sites(list_sites(*program.work));
                    return kExitDone;
                });
            }};
}

}  // namespace corvela::cli
