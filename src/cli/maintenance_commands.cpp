// `corvela clean`, `delete`, `compact` and `backup`: emptying the final tables ("Limpiar DB"),
// deleting one saved radicación, and the upkeep of the working database.
#include <cmath>
#include <cstdio>

#include "app/cleanup.h"
#include "cli/command.h"
#include "headless/delivery_choice.h"
#include "platform/text.h"

namespace corvela::cli {

namespace {
struct DeleteOptions {
    std::string ips_name, delivery_text;
    bool yes = false;
};

int run_delete(Program& program, const DeleteOptions& opt) {
    auto chosen =
        choose_delivery(*program.work, opt.ips_name, opt.delivery_text, DeliveryKey::EapbSede);
    if (!chosen.ok()) {
        std::fprintf(stderr, "%s\n", chosen.why().c_str());
        return kExitFailure;
    }
    return exit_status(delete_delivery(program, chosen.value().ips_code, chosen.value().delivery));
}

int run_compact(Program& program) {
    if (program.work->on_server()) {
        compact(*program.work);
        std::printf("Base de datos compactada en el servidor\n");
        return kExitDone;
    }
    std::string path = program.config.database_folder + "registros_ips.db";
    std::error_code ec;
    auto before = std::filesystem::file_size(path, ec);
    compact(*program.work);
    auto after = std::filesystem::file_size(path, ec);
    std::printf("Base de datos compactada: %s (%s KB antes, %s KB después)\n", path.c_str(),
                value_text(std::round(static_cast<double>(before) / 1024.0)).c_str(),
                value_text(std::round(static_cast<double>(after) / 1024.0)).c_str());
    return kExitDone;
}

int run_backup(Program& program, const std::string& folder) {
    if (program.work->on_server()) {
        std::printf("Una instalación en servidor se respalda con pg_dump.\n");
        return kExitStopped;
    }
    Status copied = backup(program, folder);
    if (!copied.ok()) {
        std::fprintf(stderr, "%s\n", copied.why().c_str());
        return kExitFailure;
    }
    std::printf("Copia escrita en %s\n", folder.c_str());
    return kExitDone;
}
}  // namespace

Command add_clean(CLI::App& app, const GlobalOptions& global) {
    auto* sub = app.add_subcommand("clean", "Vacía las tablas finales (Limpiar DB)");
    auto yes = std::make_shared<bool>(false);
    sub->add_flag("--yes", *yes, "Responde Sí a las preguntas");
    return {sub, [yes, &global] {
                SessionOptions session{"", *yes, true};
                return run_session(global, session, [](Program& program, ConsoleUi&) {
                    return exit_status(empty_final_tables(program));
                });
            }};
}

Command add_delete(CLI::App& app, const GlobalOptions& global) {
    auto* sub = app.add_subcommand("delete", "Borra los registros guardados de una radicación");
    auto opt = std::make_shared<DeleteOptions>();
    sub->add_option("--ips", opt->ips_name, "Nombre de la IPS")->required();
    sub->add_option("--delivery", opt->delivery_text, "Remisión/radicado, p. ej. 000001/1")
        ->required();
    sub->add_flag("--yes", opt->yes, "Responde Sí a las preguntas");
    return {sub, [opt, &global] {
                SessionOptions session{"", opt->yes, true};
                return run_session(global, session, [&](Program& program, ConsoleUi&) {
                    return run_delete(program, *opt);
                });
            }};
}

Command add_compact(CLI::App& app, const GlobalOptions& global) {
    auto* sub = app.add_subcommand("compact", "Compacta la base de datos de trabajo");
    return {sub, [&global] {
                SessionOptions session;
                session.locks = true;
                session.reach = Reach::SharedRows;
                return run_session(global, session, [](Program& program, ConsoleUi&) {
                    return run_compact(program);
                });
            }};
}

Command add_backup(CLI::App& app, const GlobalOptions& global) {
    auto* sub = app.add_subcommand("backup", "Copia consistente de las dos bases de datos");
    auto folder = std::make_shared<std::string>();
    sub->add_option("DIR", *folder, "Carpeta de la copia")->required();
    return {sub, [folder, &global] {
                return run_session(global, {}, [&](Program& program, ConsoleUi&) {
                    return run_backup(program, *folder);
                });
            }};
}

}  // namespace corvela::cli
