// `corvela validate DIR`: "Leer Archivos" over a delivery folder, and `corvela save`: "Guardar
// Registros" of the last run, with the header values kept by the run or given here.
#include <cstdio>
#include <memory>
#include <optional>

#include "app/hints.h"
#include "app/validation_run.h"
#include "cli/command.h"
#include "headless/json_output.h"
#include "platform/text.h"
#include "reports/errors_workbook.h"

namespace corvela::cli {

namespace {
struct ValidateOptions {
    std::string folder, today, xlsx;
    bool yes = false, no = false, no_cache = false, save = false, json = false;
    std::optional<int> threads;
};

// The line that says under which number a delivery was saved.
void print_radicacion(const Program& program) {
    std::printf("Radicación interna No.%s\n", number_text(program.delivery.radicacion).c_str());
}

int run_validate(Program& program, ConsoleUi& ui, const ValidateOptions& opt) {
    program.load_run_state();
    program.uncached = opt.no_cache;
    if (opt.threads) program.threads = *opt.threads;
    // The errors workbook, written when the run reaches its summary; a failure to write it is
    // told after the summary box.
    bool written = false;
    std::optional<AttachedWorkbook> workbook;
    if (!opt.xlsx.empty())
        workbook.emplace(program, [&written, file = std::filesystem::absolute(opt.xlsx)](
                                      ErrorsWorkbook& book, Program& p) {
            try {
                book.save(file, run_summary(p));
                written = true;
                return std::string();
            } catch (const std::exception& e) {
                return std::string(e.what());
            }
        });
    Status outcome = run_validation(program, opt.folder);
    program.store_run_state();
    // A run that stopped without a box to say why (a question answered) says it here.
    if (!outcome.ok() && !outcome.why().empty()) ConsoleUi::print_hint(stderr, outcome.why());
    // A workbook asked for and not written: the run's own outcome stands unless it reached its
    // summary.
    const bool workbook_missing = workbook && !written;
    if (workbook_missing && !outcome.ok())
        std::fprintf(stderr, "corvela: la validación no llegó a su resumen; no se escribió %s\n",
                     opt.xlsx.c_str());
    workbook.reset();
    // The grid of the run, copied before a save empties it.
    const auto months = ui.months();  // NOLINT(performance-unnecessary-copy-initialization)
    int status = outcome.ok() ? (workbook_missing ? kExitFailure : kExitDone) : kExitStopped;
    std::optional<double> saved_as;
    if (outcome.ok() && opt.save) {
        Status saved = save_delivery(program);
        program.store_run_state();
        status = exit_status(saved);
        if (saved.ok()) saved_as = program.delivery.radicacion;
        if (saved.ok() && !opt.json) print_radicacion(program);
    }
    if (opt.json) print_json(validate_json(status, program, ui, months, saved_as));
    return status;
}

// Header values given on the command line; each replaces the kept one.
struct SaveOptions {
    std::string today;
    std::optional<std::string> remitente, direccion, telefono, fax, periodo;
};

int run_save(Program& program, const SaveOptions& opt) {
    program.load_run_state();
    DeliveryHeader& h = program.delivery.header;
    if (opt.remitente) h.sender = *opt.remitente;
    if (opt.direccion) h.address = *opt.direccion;
    if (opt.telefono) h.telephone = *opt.telefono;
    if (opt.fax) h.fax = *opt.fax;
    if (opt.periodo) h.period = *opt.periodo;
    Status saved = save_delivery(program);
    program.store_run_state();
    if (saved.ok()) print_radicacion(program);
    return exit_status(saved);
}
}  // namespace

Command add_validate(CLI::App& app, const GlobalOptions& global) {
    auto* sub = app.add_subcommand("validate", "Valida la entrega de una carpeta (Leer Archivos)");
    auto opt = std::make_shared<ValidateOptions>();
    sub->add_option("DIR", opt->folder, "Carpeta de la entrega")->required();
    sub->add_option("--today", opt->today, "Fecha de hoy (AAAA-MM-DD)");
    sub->add_flag("--yes", opt->yes, "Responde Sí a las preguntas");
    sub->add_flag("--no-cache", opt->no_cache,
                  "Consulta las tablas de referencia y los usuarios en la base de datos en "
                  "cada registro (más lento; para comprobar resultados)");
    sub->add_option("--threads", opt->threads,
                    "1: valida y almacena en un solo hilo; 2: almacena en un segundo hilo "
                    "(por omisión 2 con más de un núcleo; --no-cache usa siempre 1)")
        ->check(CLI::Range(1, 2));
    sub->add_flag("--no", opt->no, "Responde No a las preguntas (por omisión)");
    sub->add_flag("--save", opt->save, "Guarda la entrega cuando la validación termina");
    sub->add_flag("--json", opt->json, "Imprime un documento JSON para programas en vez del texto");
    sub->add_option(
        "--xlsx", opt->xlsx,
        "Escribe en este archivo el libro de Excel de los errores (una hoja por archivo)");
    return {sub, [opt, &global] {
                if (opt->yes && opt->no) {
                    std::fprintf(stderr, "--yes y --no no pueden usarse juntos\n");
                    return kExitFailure;
                }
                // A folder that cannot be a delivery stops here, before the installation is
                // opened: nothing is asked, emptied or locked.
                if (std::string fault = delivery_folder_fault(opt->folder); !fault.empty()) {
                    ConsoleUi::print_hint(stderr, fault);
                    return kExitFailure;
                }
                SessionOptions session{opt->today, opt->yes, true, opt->json};
                return run_session(global, session, [&](Program& program, ConsoleUi& ui) {
                    return run_validate(program, ui, *opt);
                });
            }};
}

Command add_save(CLI::App& app, const GlobalOptions& global) {
    auto* sub =
        app.add_subcommand("save", "Guarda la entrega de la última validación (Guardar Registros)");
    auto opt = std::make_shared<SaveOptions>();
    sub->add_option("--remitente", opt->remitente, "Nombre del remitente");
    sub->add_option("--direccion", opt->direccion, "Dirección");
    sub->add_option("--telefono", opt->telefono, "Teléfono");
    sub->add_option("--fax", opt->fax, "Fax");
    sub->add_option("--periodo", opt->periodo, "Periodo reportado");
    sub->add_option("--today", opt->today, "Fecha de hoy (AAAA-MM-DD)");
    return {sub, [opt, &global] {
                SessionOptions session{opt->today, false, true};
                return run_session(global, session, [&](Program& program, ConsoleUi&) {
                    return run_save(program, *opt);
                });
            }};
}

}  // namespace corvela::cli
