// The web service's accounts, kept in the table `cuentas_web` that every desk shares: who may log
// in, on which desk, and the hash of the password (Argon2id; the password itself is never kept).
// On the embedded engine every account works on the installation's one desk; on a server each
// names a desk of that server.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "db/database.h"
#include "platform/clock.h"
#include "platform/config.h"
#include "platform/result.h"

namespace corvela {

struct Account {
    std::string name;
    std::string desk;
    std::string hash;
    std::string changed;  // when the password was set, "YYYY-MM-DD HH:MM"
};

// The shortest password an account takes.
inline constexpr size_t kMinimumPasswordLength = 8;

// Empty when `name` may name an account (1 to 64 of a-z, A-Z, 0-9, '.', '_' and '-'), else why
// not.
std::string account_name_fault(std::string_view name);
// Empty when `password` may be an account's password, else why not.
std::string password_fault(std::string_view password);

// The desk an account given `desk` (empty: the configuration's) works on, or why it cannot: on the
// embedded engine the installation's one desk; on a server a desk that server has.
Result<std::string> account_desk(Database& work, const Configuration& config,
                                 const std::string& desk);

// Makes the table `cuentas_web` where an installation made before accounts lacks it; the functions
// below read and change that table.
void ensure_accounts_table(Database& work);

// Adds an account working on `desk` (empty: the configuration's desk), or says why not: a bad
// name or password, a name taken (letter case aside), a desk the installation does not have.
Status add_account(Database& work, const Configuration& config, const std::string& name,
                   const std::string& desk, std::string_view password, const Clock& clock);
// Sets an account's password, or says why not.
Status change_password(Database& work, const std::string& name, std::string_view password,
                       const Clock& clock);
Status remove_account(Database& work, const std::string& name);
// Every account, by name.
std::vector<Account> list_accounts(Database& work);
// The account of that name (letter case aside), if there is one.
std::optional<Account> find_account(Database& work, const std::string& name);

}  // namespace corvela
