// `corvela usuarios add|passwd|remove|list`: the web service's accounts. A password is read from
// the terminal without being shown (typed twice), or as one line of standard input when that is
// not a terminal; it never comes on the command line.
#include <cstdio>

#include "app/accounts.h"
#include "cli/command.h"
#include "platform/terminal.h"

namespace corvela::cli {

namespace {
struct UsuariosOptions {
    std::string name, desk;
};

// The password typed for `name`, or empty after saying why there is none.
std::optional<std::string> read_new_password(const std::string& name) {
    auto password = read_secret_line("Contraseña de " + name + ": ");
    if (!password) {
        std::fprintf(stderr, "corvela: no se recibió la contraseña.\n");
        return std::nullopt;
    }
    if (auto why = password_fault(*password); !why.empty()) {
        std::fprintf(stderr, "%s\n", why.c_str());
        return std::nullopt;
    }
    if (stdin_is_terminal() && read_secret_line("Repita la contraseña: ") != password) {
        std::fprintf(stderr, "Las contraseñas no coinciden; no se cambió nada.\n");
        return std::nullopt;
    }
    return password;
}

// The outcome of a change: its message on standard output, or why not on standard error.
int report(Status outcome, const std::string& done) {
    if (!outcome.ok()) {
        std::fprintf(stderr, "%s\n", outcome.why().c_str());
        return kExitFailure;
    }
    std::printf("%s\n", done.c_str());
    return kExitDone;
}

void print_accounts(Database& work) {
    std::printf("%-30s  %-30s  %s\n", "nombre", "puesto", "contraseña cambiada");
    for (const auto& a : list_accounts(work))
        std::printf("%-30s  %-30s  %s\n", a.name.c_str(), a.desk.c_str(), a.changed.c_str());
}
}  // namespace

Command add_usuarios(CLI::App& app, const GlobalOptions& global) {
    auto* sub = app.add_subcommand("usuarios", "Cuentas del servicio web (corvela-web)");
    sub->require_subcommand(1);
    auto opt = std::make_shared<UsuariosOptions>();
    auto* add = sub->add_subcommand("add", "Crea una cuenta (pide la contraseña)");
    add->add_option("NAME", opt->name, "Nombre de la cuenta")->required();
    add->add_option("--desk", opt->desk,
                    "Puesto en que trabaja la cuenta (en un servidor; por omisión el de la "
                    "configuración)");
    auto* passwd = sub->add_subcommand("passwd", "Cambia la contraseña de una cuenta");
    passwd->add_option("NAME", opt->name, "Nombre de la cuenta")->required();
    auto* remove = sub->add_subcommand("remove", "Borra una cuenta");
    remove->add_option("NAME", opt->name, "Nombre de la cuenta")->required();
    sub->add_subcommand("list", "Lista las cuentas");
    return {sub, [opt, &global, add, passwd, remove] {
                return run_session(global, {}, [&](Program& program, ConsoleUi&) {
                    Database& work = *program.work;
                    ensure_accounts_table(work);
                    const std::string& name = opt->name;
                    if (*remove)
                        return report(remove_account(work, name), "Cuenta " + name + " borrada.");
                    if (!*add && !*passwd) {
                        print_accounts(work);
                        return kExitDone;
                    }
                    // The name and desk are checked before the password is asked for.
                    if (*passwd && !find_account(work, name))
                        return report(Status::failed("No existe la cuenta " + name + "."), "");
                    if (auto why = account_name_fault(name); *add && !why.empty())
                        return report(Status::failed(why), "");
                    const auto desk = account_desk(work, program.config, opt->desk);
                    if (*add && !desk.ok()) return report(Status::failed(desk.why()), "");
                    if (*add && find_account(work, name))
                        return report(Status::failed("La cuenta " + name + " ya existe."), "");
                    auto password = read_new_password(name);
                    if (!password) return kExitFailure;
                    if (*passwd)
                        return report(change_password(work, name, *password, program.clock),
                                      "Contraseña de " + name + " cambiada.");
                    auto added = add_account(work, program.config, name, opt->desk, *password,
                                             program.clock);
                    return report(added,
                                  "Cuenta " + name + " creada en el puesto " + desk.value() + ".");
                });
            }};
}

}  // namespace corvela::cli
