// `corvela reference import TABLE FILE` replaces one reference table (a file laid out as the
// table, with --column for other header names, or the Ministry's export with --sispro);
// `corvela reference status` tells from which file each table was loaded.
#include <cstdio>

#include "app/reference_data.h"
#include "cli/command.h"

namespace corvela::cli {

namespace {
struct ReferenceOptions {
    std::string table, csv;
    std::vector<std::string> columns;  // COLUMN=HEADER
    bool sispro = false;
    bool yes = false;  // a file with less than half the table's rows may replace it
};

// The --column mappings; nullopt (after saying why) when one is not COLUMN=HEADER.
std::optional<ColumnMapping> column_mapping(const std::vector<std::string>& columns) {
    ColumnMapping mapping;
    for (const auto& m : columns) {
        size_t eq = m.find('=');
        if (eq == std::string::npos || eq == 0 || eq + 1 == m.size()) {
            std::fprintf(stderr, "--column debe ser COLUMNA=ENCABEZADO: %s\n", m.c_str());
            return std::nullopt;
        }
        mapping.emplace_back(m.substr(0, eq), m.substr(eq + 1));
    }
    return mapping;
}

int run_import(Program& program, const ReferenceOptions& opt) {
    auto mapping = column_mapping(opt.columns);
    if (!mapping) return kExitFailure;
    auto imported =
        import_reference(*program.ref, *program.work,
                         {opt.table, opt.csv, *mapping, opt.sispro, opt.yes}, program.clock);
    if (!imported.ok()) {
        std::fprintf(stderr, "%s\nLa tabla %s no cambió.\n", imported.why().c_str(),
                     opt.table.c_str());
        return kExitFailure;
    }
    std::printf("%s\n", imported.value().c_str());
    return kExitDone;
}
}  // namespace

Command add_reference(CLI::App& app, const GlobalOptions& global) {
    auto* sub = app.add_subcommand("reference", "Tablas de referencia");
    sub->require_subcommand(1);
    auto opt = std::make_shared<ReferenceOptions>();
    auto* import = sub->add_subcommand("import", "Reemplaza una tabla desde un CSV");
    import->add_option("TABLE", opt->table, "Tabla de referencia, p. ej. r_cie10 o cups")
        ->required();
    import->add_option("FILE", opt->csv, "Archivo CSV con una línea de encabezado")->required();
    import->add_option("--column", opt->columns,
                       "COLUMNA=ENCABEZADO, para una columna que el archivo nombra de otro "
                       "modo (repetible)");
    import->add_flag("--sispro", opt->sispro,
                     "El archivo es la exportación de SISPRO (tablas de referencia) de CIE10 "
                     "o de CUPS para RIPS");
    import->add_flag("--yes", opt->yes,
                     "Reemplaza la tabla aunque el archivo traiga menos de la mitad de sus filas");
    auto* status =
        sub->add_subcommand("status", "De qué archivo se cargó cada tabla de referencia");
    return {sub, [opt, &global, import, status] {
                SessionOptions session;
                session.locks = import->parsed();
                session.reach = Reach::SharedRows;
                return run_session(global, session, [&](Program& program, ConsoleUi&) {
                    if (*status) {
                        std::printf("%s", reference_status(*program.ref, *program.work).c_str());
                        return kExitDone;
                    }
                    return run_import(program, *opt);
                });
            }};
}

}  // namespace corvela::cli
