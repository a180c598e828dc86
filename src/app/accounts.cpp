#include "app/accounts.h"

#include <fmt/format.h>

#include "db/schema.h"
#include "db/server_desks.h"
#include "platform/secrets.h"
#include "platform/text.h"

namespace corvela {

namespace {
std::string now_text(const Clock& clock) {
    const int seconds = static_cast<int>(clock.seconds_since_midnight());
    return fmt::format("{} {:02}:{:02}", iso_date(clock.today()), seconds / 3600,
                       seconds / 60 % 60);
}

Status no_such_account(const std::string& name) {
    return Status::failed("No existe la cuenta " + name + ".");
}
}  // namespace

Result<std::string> account_desk(Database& work, const Configuration& config,
                                 const std::string& desk) {
    const std::string chosen = desk.empty() ? config.desk : desk;
    if (!work.on_server()) {
        if (chosen != config.desk)
            return Result<std::string>::failed(
                "Sin servidor todas las cuentas trabajan en el único puesto de la instalación "
                "(" +
                config.desk + "); no use --desk.");
        return Result<std::string>::done(chosen);
    }
    if (!is_desk_name(chosen) ||
        !(desk_exists(work, chosen) || (chosen == "principal" && server_before_desks(work))))
        return Result<std::string>::failed("El puesto " + chosen +
                                           " no existe en el servidor: créelo con corvela init "
                                           "CARPETA --server … --desk " +
                                           chosen + ".");
    return Result<std::string>::done(chosen);
}

void ensure_accounts_table(Database& work) {
    // Looked for first: a role that may use the table need not be one that may make tables.
    try {
        work.count("SELECT 1 FROM cuentas_web WHERE 1 = 0");
        return;
    } catch (const DatabaseFailure&) {
    }
    create_accounts_table(work);
}

std::string account_name_fault(std::string_view name) {
    const bool fits = !name.empty() && name.size() <= 64 &&
                      name.find_first_not_of(
                          "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"
                          "0123456789._-") == std::string_view::npos;
    if (fits) return {};
    return "El nombre de cuenta \"" + std::string(name) +
           "\" no es válido: use de 1 a 64 letras sin tilde, cifras, punto, guion o _.";
}

std::string password_fault(std::string_view password) {
    if (char_length(password) < kMinimumPasswordLength)
        return "La contraseña debe tener al menos " + std::to_string(kMinimumPasswordLength) +
               " caracteres.";
    if (password.size() > 1024) return "La contraseña no puede pasar de 1024 bytes.";
    return {};
}

Status add_account(Database& work, const Configuration& config, const std::string& name,
                   const std::string& desk, std::string_view password, const Clock& clock) {
    if (auto why = account_name_fault(name); !why.empty()) return Status::failed(why);
    if (auto why = password_fault(password); !why.empty()) return Status::failed(why);
    auto chosen = account_desk(work, config, desk);
    if (!chosen.ok()) return Status::failed(chosen.why());
    if (find_account(work, name)) return Status::failed("La cuenta " + name + " ya existe.");
    Statement put = work.prepare(
        "INSERT INTO cuentas_web (nombre, puesto, clave, cambiada) VALUES (?, ?, ?, ?)");
    put.bind(1, name);
    put.bind(2, chosen.value());
    put.bind(3, hash_password(password));
    put.bind(4, now_text(clock));
    put.exec();
    return Status::done();
}

Status change_password(Database& work, const std::string& name, std::string_view password,
                       const Clock& clock) {
    if (auto why = password_fault(password); !why.empty()) return Status::failed(why);
    if (!find_account(work, name)) return no_such_account(name);
    Statement put = work.prepare("UPDATE cuentas_web SET clave = ?, cambiada = ? WHERE nombre = ?");
    put.bind(1, hash_password(password));
    put.bind(2, now_text(clock));
    put.bind(3, name);
    put.exec();
    return Status::done();
}

Status remove_account(Database& work, const std::string& name) {
    if (!find_account(work, name)) return no_such_account(name);
    Statement drop = work.prepare("DELETE FROM cuentas_web WHERE nombre = ?");
    drop.bind(1, name);
    drop.exec();
    return Status::done();
}

namespace {
std::vector<Account> read_accounts(Database& work, const std::string& where,
                                   const std::string& name) {
    std::vector<Account> found;
    Statement st = work.prepare("SELECT nombre, puesto, clave, cambiada FROM cuentas_web" + where +
                                " ORDER BY nombre");
    if (!where.empty()) st.bind(1, name);
    while (st.step()) found.push_back({st.text(0), st.text(1), st.text(2), st.text(3)});
    return found;
}
}  // namespace

std::vector<Account> list_accounts(Database& work) {
    return read_accounts(work, "", "");
}

std::optional<Account> find_account(Database& work, const std::string& name) {
    auto found = read_accounts(work, " WHERE nombre = ?", name);
    if (found.empty()) return std::nullopt;
    return found.front();
}

}  // namespace corvela
