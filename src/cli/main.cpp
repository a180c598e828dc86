// The `corvela` command: set-up, sites, reference tables and the validation run, headless.
#include <CLI/CLI.hpp>

#include <cstdio>
#include <iostream>

#include "app/program.h"
#include "app/setup.h"
#include "app/validation_run.h"
#include "cli/console_ui.h"
#include "platform/config.h"
#include "platform/text.h"

using namespace corvela;

namespace {
constexpr int kExitStopped = 1;
constexpr int kExitFailure = 2;

std::optional<Date> parse_today(const std::string& text) {
    if (text.empty()) return std::nullopt;
    return parse_iso_date(text);
}

// Start-up of a command: configuration and both databases. Null when it failed.
std::unique_ptr<Program> start_program(Ui& ui, const Clock& clock, const std::string& config) {
    auto program = std::make_unique<Program>(ui, clock);
    if (!program->start(configuration_path(config))) return nullptr;
    return program;
}

void print_sites(const std::vector<Site>& sites) {
    std::printf("%-12s  %-30s  %-25s  %-25s  %-12s  %-12s\n", "habilitacion", "nombre", "gerente",
                "DIRECCION", "fax", "TELEFONO");
    for (const auto& s : sites)
        std::printf("%-12s  %-30s  %-25s  %-25s  %-12s  %-12s\n", s.habilitacion.c_str(),
                    s.nombre.c_str(), s.gerente.c_str(), s.DIRECCION.c_str(), s.fax.c_str(),
                    s.TELEFONO.c_str());
}
}  // namespace

int main(int argc, char** argv) {
    CLI::App app{"Corvela: validador de archivos planos RIPS (Resolución 3374 de 2000)"};
    app.require_subcommand(1);
    std::string config;
    app.add_option("--config", config, "Archivo de configuración");
    app.fallthrough();

    // init
    auto* init = app.add_subcommand("init", "Crea las bases de datos y el archivo de configuración");
    std::string db_dir, results_dir, reference_dir;
    init->add_option("DBDIR", db_dir, "Carpeta de las bases de datos")->required();
    init->add_option("--results", results_dir, "Carpeta raíz de los resultados");
    init->add_option("--reference", reference_dir, "Carpeta de los datos de referencia (CSV)");

    // sedes
    auto* sedes = app.add_subcommand("sedes", "Sedes habilitadas");
    sedes->require_subcommand(1);
    auto* sedes_add = sedes->add_subcommand("add", "Registra una sede");
    Site site;
    sedes_add->add_option("CODE", site.habilitacion, "Código de habilitación (12 caracteres)")->required();
    sedes_add->add_option("--nombre", site.nombre)->required();
    sedes_add->add_option("--gerente", site.gerente);
    sedes_add->add_option("--direccion", site.DIRECCION);
    sedes_add->add_option("--telefono", site.TELEFONO);
    sedes_add->add_option("--fax", site.fax);
    auto* sedes_import = sedes->add_subcommand("import", "Carga sedes desde un CSV");
    std::string sedes_csv;
    sedes_import->add_option("FILE", sedes_csv)->required();
    auto* sedes_list = sedes->add_subcommand("list", "Lista las sedes");

    // reference
    auto* reference = app.add_subcommand("reference", "Tablas de referencia");
    reference->require_subcommand(1);
    auto* ref_import = reference->add_subcommand("import", "Reemplaza una tabla desde un CSV");
    std::string ref_table, ref_csv;
    ref_import->add_option("TABLE", ref_table)->required();
    ref_import->add_option("FILE", ref_csv)->required();

    // validate
    auto* validate = app.add_subcommand("validate", "Valida la entrega de una carpeta (Leer Archivos)");
    std::string folder, today;
    bool yes = false, no = false;
    validate->add_option("DIR", folder, "Carpeta de la entrega")->required();
    validate->add_option("--today", today, "Fecha de hoy (AAAA-MM-DD)");
    validate->add_flag("--yes", yes, "Responde Sí a las preguntas");
    validate->add_flag("--no", no, "Responde No a las preguntas (por omisión)");

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return app.exit(e) == 0 ? 0 : kExitFailure;
    }

    if (*init) {
        auto reference_folder =
            reference_dir.empty() ? default_reference_folder(argv[0]) : std::filesystem::path(reference_dir);
        InitResult r = init_installation(db_dir, results_dir, reference_folder, configuration_path(config));
        std::printf("%s\n", r.message.c_str());
        return r.ok ? 0 : kExitFailure;
    }

    if (yes && no) {
        std::fprintf(stderr, "--yes y --no no pueden usarse juntos\n");
        return kExitFailure;
    }
    auto fixed_today = parse_today(today);
    if (!today.empty() && !fixed_today) {
        std::fprintf(stderr, "--today debe ser una fecha AAAA-MM-DD: %s\n", today.c_str());
        return kExitFailure;
    }
    SystemClock system_clock;
    FixedDateClock fixed_clock(fixed_today.value_or(Date{}));
    const Clock& clock = fixed_today ? static_cast<const Clock&>(fixed_clock) : system_clock;
    ConsoleUi ui(yes);
    auto program = start_program(ui, clock, config);
    if (!program) return kExitFailure;

    try {
        if (*sedes_add) {
            std::string why = add_site(*program->work, site);
            if (!why.empty()) {
                std::fprintf(stderr, "%s\n", why.c_str());
                return kExitFailure;
            }
            std::printf("Sede %s registrada.\n", site.habilitacion.c_str());
            return 0;
        }
        if (*sedes_import) {
            std::string why = import_sites(*program->work, sedes_csv);
            if (!why.empty()) {
                std::fprintf(stderr, "%s\nNo se cargó ninguna sede.\n", why.c_str());
                return kExitFailure;
            }
            std::printf("Sedes cargadas de %s.\n", sedes_csv.c_str());
            return 0;
        }
        if (*sedes_list) {
            print_sites(list_sites(*program->work));
            return 0;
        }
        if (*ref_import) {
            std::string why = import_reference(*program->ref, *program->work, ref_table, ref_csv);
            if (!why.empty()) {
                std::fprintf(stderr, "%s\nLa tabla %s no cambió.\n", why.c_str(), ref_table.c_str());
                return kExitFailure;
            }
            std::printf("Tabla %s reemplazada.\n", ref_table.c_str());
            return 0;
        }
        if (*validate) {
            program->load_run_state();
            RunOutcome outcome = BLeer_Click(*program, folder);
            program->store_run_state();
            return outcome == RunOutcome::Summary ? 0 : kExitStopped;
        }
    } catch (const SQLite::Exception& e) {
        std::fprintf(stderr, "Error de base de datos %d: %s\n", e.getErrorCode(), e.what());
        return kExitFailure;
    }
    return 0;
}
