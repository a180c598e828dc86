// The `corvela` command: set-up, sites, reference tables, the validation run, saving, reports,
// clean-up and maintenance, headless.
#include <CLI/CLI.hpp>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iostream>
#include <optional>

#include "app/cleanup.h"
#include "app/program.h"
#include "app/reference_data.h"
#include "app/save.h"
#include "app/setup.h"
#include "app/validation_run.h"
#include "cli/console_ui.h"
#include "platform/config.h"
#include "platform/terminal.h"
#include "platform/text.h"
#include "reports/informe.h"

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

int exit_code(Outcome outcome) {
    switch (outcome) {
        case Outcome::Done:
            return 0;
        case Outcome::Stopped:
            return kExitStopped;
        default:
            return kExitFailure;
    }
}

// A text padded with blanks to `width` characters.
std::string padded(const std::string& text, size_t width) {
    size_t length = char_length(text);
    return length >= width ? text : text + std::string(width - length, ' ');
}

// A list view as an aligned table: the column headers, then one line per item.
void print_list(const ListView& lv) {
    size_t columns = lv.column_headers.size();
    for (const auto& item : lv.items) columns = std::max(columns, item.size());
    std::vector<size_t> widths(columns, 0);
    auto cell = [](const std::vector<std::string>& row, size_t c) {
        return c < row.size() ? row[c] : std::string();
    };
    for (size_t c = 0; c < columns; ++c) {
        widths[c] = char_length(cell(lv.column_headers, c));
        for (const auto& item : lv.items)
            widths[c] = std::max(widths[c], char_length(cell(item, c)));
    }
    auto print_row = [&](const std::vector<std::string>& row) {
        std::string line;
        for (size_t c = 0; c < columns; ++c)
            line += (c ? "  " : "") + padded(cell(row, c), widths[c]);
        std::printf("%s\n", std::string(rtrim(line)).c_str());
    };
    print_row(lv.column_headers);
    for (const auto& item : lv.items) print_row(item);
}

// The listed delivery an operator means: the entry itself, or the one with the same remission and
// the same radicación number ("000001/1" names "000001/ 1").
const std::string* find_delivery(const std::vector<std::string>& entries, const std::string& text) {
    for (const auto& e : entries)
        if (e == text) return &e;
    DeliveryParts wanted = split_delivery(text);
    if (text.find('/') == std::string::npos) return nullptr;
    for (const auto& e : entries) {
        DeliveryParts p = split_delivery(e);
        if (equals_nocase(p.remission, wanted.remission) &&
            leading_number_value(p.radicacion) == leading_number_value(wanted.radicacion) &&
            is_numeric(wanted.radicacion))
            return &e;
    }
    return nullptr;
}

// The IPS code and the listed delivery chosen on the command line; false (after saying why) when
// the IPS or the delivery is not listed.
bool choose_delivery(Database& work, const std::string& ips_name, const std::string& delivery_text,
                     DeliveryKey key, std::string& ips_code, std::string& delivery) {
    auto rows = ips_rows(work);
    const IpsRow* ips = find_ips(rows, ips_name);
    if (!ips) {
        std::fprintf(stderr, "No existe la IPS \"%s\" entre las que tienen entregas guardadas.\n",
                     ips_name.c_str());
        return false;
    }
    auto entries = delivery_entries(work, ips->codigo, key);
    const std::string* entry = find_delivery(entries, delivery_text);
    if (!entry) {
        std::fprintf(stderr, "La IPS \"%s\" no tiene la entrega \"%s\". Entregas:\n",
                     ips_name.c_str(), delivery_text.c_str());
        for (const auto& e : entries) std::fprintf(stderr, "  %s\n", e.c_str());
        return false;
    }
    ips_code = ips->codigo;
    delivery = *entry;
    return true;
}
}  // namespace

int main(int argc, char** argv) {
    CLI::App app{"Corvela: validador de archivos planos RIPS (Resolución 3374 de 2000)"};
    app.require_subcommand(1);
    std::string config;
    app.add_option("--config", config, "Archivo de configuración");
    app.fallthrough();

    // init
    auto* init =
        app.add_subcommand("init", "Crea las bases de datos y el archivo de configuración");
    std::string db_dir, results_dir, reference_dir;
    init->add_option("DBDIR", db_dir, "Carpeta de las bases de datos")->required();
    init->add_option("--results", results_dir, "Carpeta raíz de los resultados");
    init->add_option("--reference", reference_dir, "Carpeta de los datos de referencia (CSV)");

    // sedes
    auto* sedes = app.add_subcommand("sedes", "Sedes habilitadas");
    sedes->require_subcommand(1);
    auto* sedes_add = sedes->add_subcommand("add", "Registra una sede");
    Site site;
    sedes_add->add_option("CODE", site.habilitacion, "Código de habilitación (12 caracteres)")
        ->required();
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
    std::vector<std::string> ref_columns;
    ref_import->add_option("--column", ref_columns,
                           "COLUMNA=ENCABEZADO, para una columna que el archivo nombra de otro "
                           "modo (repetible)");
    bool ref_sispro = false;
    ref_import->add_flag("--sispro", ref_sispro,
                         "El archivo es la exportación de SISPRO (tablas de referencia) de CIE10 "
                         "o de CUPS para RIPS");
    auto* ref_status =
        reference->add_subcommand("status", "De qué archivo se cargó cada tabla de referencia");

    // validate
    auto* validate =
        app.add_subcommand("validate", "Valida la entrega de una carpeta (Leer Archivos)");
    std::string folder, today;
    bool yes = false, no = false;
    validate->add_option("DIR", folder, "Carpeta de la entrega")->required();
    validate->add_option("--today", today, "Fecha de hoy (AAAA-MM-DD)");
    validate->add_flag("--yes", yes, "Responde Sí a las preguntas");
    bool no_cache = false;
    validate->add_flag("--no-cache", no_cache,
                       "Consulta las tablas de referencia y los usuarios en la base de datos en "
                       "cada registro (más lento; para comprobar resultados)");
    validate->add_flag("--no", no, "Responde No a las preguntas (por omisión)");
    bool save_after = false;
    validate->add_flag("--save", save_after, "Guarda la entrega cuando la validación termina");

    // save
    auto* save =
        app.add_subcommand("save", "Guarda la entrega de la última validación (Guardar Registros)");
    std::string remitente, direccion, telefono, fax, periodo;
    auto* opt_remitente = save->add_option("--remitente", remitente, "Nombre del remitente");
    auto* opt_direccion = save->add_option("--direccion", direccion, "Dirección");
    auto* opt_telefono = save->add_option("--telefono", telefono, "Teléfono");
    auto* opt_fax = save->add_option("--fax", fax, "Fax");
    auto* opt_periodo = save->add_option("--periodo", periodo, "Periodo reportado");
    save->add_option("--today", today, "Fecha de hoy (AAAA-MM-DD)");

    // deliveries and reports
    auto* deliveries = app.add_subcommand("deliveries", "Lista las IPS y sus entregas guardadas");
    std::string ips_name, delivery_text;
    deliveries->add_option("--ips", ips_name, "Nombre de la IPS");
    auto* report = app.add_subcommand("report", "Informe de una entrega guardada");
    std::string report_kind, html_file;
    report->add_option("KIND", report_kind, "summary o inconsistencies")
        ->required()
        ->check(CLI::IsMember({"summary", "inconsistencies"}));
    report->add_option("--ips", ips_name, "Nombre de la IPS")->required();
    report->add_option("--delivery", delivery_text, "Remisión/radicado, p. ej. 000001/1")
        ->required();
    auto* opt_html =
        report->add_option("--html", html_file, "Exporta el informe a HTML")->expected(0, 1);
    report->add_option("--today", today, "Fecha de hoy (AAAA-MM-DD)");

    // clean-up and maintenance
    auto* clean = app.add_subcommand("clean", "Vacía las tablas finales (Limpiar DB)");
    clean->add_flag("--yes", yes, "Responde Sí a las preguntas");
    auto* del = app.add_subcommand("delete", "Borra los registros guardados de una radicación");
    del->add_option("--ips", ips_name, "Nombre de la IPS")->required();
    del->add_option("--delivery", delivery_text, "Remisión/radicado, p. ej. 000001/1")->required();
    del->add_flag("--yes", yes, "Responde Sí a las preguntas");
    auto* compact_cmd = app.add_subcommand("compact", "Compacta la base de datos de trabajo");
    auto* backup_cmd = app.add_subcommand("backup", "Copia consistente de las dos bases de datos");
    std::string backup_dir;
    backup_cmd->add_option("DIR", backup_dir, "Carpeta de la copia")->required();

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return app.exit(e) == 0 ? 0 : kExitFailure;
    }

    if (*init) {
        auto reference_folder = reference_dir.empty() ? default_reference_folder(argv[0])
                                                      : std::filesystem::path(reference_dir);
        InitResult r = init_installation(db_dir, results_dir, reference_folder,
                                         configuration_path(config), SystemClock{});
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
    ConsoleUi ui(yes, stderr_is_terminal());
    auto program = start_program(ui, clock, config);
    if (!program) return kExitFailure;
    // A command that changes the working database holds the installation's lock from here to its
    // end, the kept run state included; a second one stops with a message.
    std::optional<OperationScope> scope;
    if (*validate || *save || *clean || *del || *compact_cmd || *sedes_add || *sedes_import ||
        *ref_import) {
        scope.emplace(*program);
        if (!scope->ok()) return kExitStopped;
    }

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
            ColumnMapping mapping;
            for (const auto& m : ref_columns) {
                size_t eq = m.find('=');
                if (eq == std::string::npos || eq == 0 || eq + 1 == m.size()) {
                    std::fprintf(stderr, "--column debe ser COLUMNA=ENCABEZADO: %s\n", m.c_str());
                    return kExitFailure;
                }
                mapping.emplace_back(m.substr(0, eq), m.substr(eq + 1));
            }
            ImportReport r = import_reference(*program->ref, *program->work,
                                              {ref_table, ref_csv, mapping, ref_sispro}, clock);
            if (!r.failure.empty()) {
                std::fprintf(stderr, "%s\nLa tabla %s no cambió.\n", r.failure.c_str(),
                             ref_table.c_str());
                return kExitFailure;
            }
            std::printf("%s\n", r.summary.c_str());
            return 0;
        }
        if (*ref_status) {
            std::printf("%s", reference_status(*program->ref, *program->work).c_str());
            return 0;
        }
        if (*validate) {
            program->load_run_state();
            program->uncached = no_cache;
            RunOutcome outcome = BLeer_Click(*program, folder);
            program->store_run_state();
            if (outcome != RunOutcome::Summary) return kExitStopped;
            if (!save_after) return 0;
            Outcome saved = Cmdgraba_Click(*program);
            program->store_run_state();
            return exit_code(saved);
        }
        if (*save) {
            program->load_run_state();
            Header h = ui.header();
            if (*opt_remitente) h.NOMREMITENTE = remitente;
            if (*opt_direccion) h.DIRECCION = direccion;
            if (*opt_telefono) h.TELEFONO = telefono;
            if (*opt_fax) h.NFAX = fax;
            if (*opt_periodo) h.PERIODO = periodo;
            ui.set_header(h);
            Outcome saved = Cmdgraba_Click(*program);
            program->store_run_state();
            if (saved == Outcome::Done)
                std::printf("Radicación interna No.%s\n", number_text(program->radicacion).c_str());
            return exit_code(saved);
        }
        if (*deliveries) {
            if (!CmdInforme_Click(*program)) return kExitStopped;
            auto rows = ips_rows(*program->work);
            const IpsRow* only = ips_name.empty() ? nullptr : find_ips(rows, ips_name);
            if (!ips_name.empty() && !only) {
                std::fprintf(stderr,
                             "No existe la IPS \"%s\" entre las que tienen entregas guardadas.\n",
                             ips_name.c_str());
                return kExitFailure;
            }
            for (const auto& r : rows) {
                if (only && &r != only) continue;
                std::printf("%s  %s\n", r.codigo.c_str(), r.shown().c_str());
                for (const auto& e : delivery_entries(*program->work, r.codigo, DeliveryKey::Eapb))
                    std::printf("  %s\n", e.c_str());
            }
            return 0;
        }
        if (*report) {
            if (!CmdInforme_Click(*program)) return kExitStopped;
            std::string ips_code, delivery;
            if (!choose_delivery(*program->work, ips_name, delivery_text, DeliveryKey::Eapb,
                                 ips_code, delivery))
                return kExitFailure;
            Informe informe(*program);
            informe.Form_Load();
            informe.Cmblista_Click(find_ips(informe.ips(), ips_name)->shown());
            informe.Cmbremision_Click(delivery);
            bool shown = report_kind == "summary" ? informe.generar_informe_Click()
                                                  : informe.informe_inconsistencias_Click();
            if (!shown) return kExitStopped;
            std::printf("%s\n", informe.title().c_str());
            print_list(informe.Lv1());
            if (*opt_html) {
                std::string target = html_file.empty()
                                         ? std::string()
                                         : std::filesystem::absolute(html_file).string();
                std::string written = informe.cmdExport_Click(target);
                if (written.empty()) return kExitFailure;
                std::printf("%s\n", written.c_str());
            }
            return 0;
        }
        if (*clean) return exit_code(CmdLimpiar_Click(*program));
        if (*del) {
            std::string ips_code, delivery;
            if (!choose_delivery(*program->work, ips_name, delivery_text, DeliveryKey::EapbSede,
                                 ips_code, delivery))
                return kExitFailure;
            return exit_code(CmdBorrar_Click(*program, ips_code, delivery));
        }
        if (*compact_cmd) {
            std::string path = program->config.database_folder + "registros_ips.db";
            std::error_code ec;
            auto before = std::filesystem::file_size(path, ec);
            compact(*program->work);
            auto after = std::filesystem::file_size(path, ec);
            std::printf("Base de datos compactada: %s (%s KB antes, %s KB después)\n", path.c_str(),
                        value_text(std::round(before / 1024.0)).c_str(),
                        value_text(std::round(after / 1024.0)).c_str());
            return 0;
        }
        if (*backup_cmd) {
            std::string why = backup(*program, backup_dir);
            if (!why.empty()) {
                std::fprintf(stderr, "%s\n", why.c_str());
                return kExitFailure;
            }
            std::printf("Copia escrita en %s\n", backup_dir.c_str());
            return 0;
        }
    } catch (const SQLite::Exception& e) {
        std::fprintf(stderr, "Error de base de datos %d: %s\n", e.getErrorCode(), e.what());
        return kExitFailure;
    }
    return 0;
}
