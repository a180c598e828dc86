#include "web/account_directory.h"

#include "app/program.h"
#include "platform/secrets.h"

namespace corvela::web {

AccountDirectory::AccountDirectory(const Configuration& config)
    : config_(config),
      work_(open_working_database(config)),
      stand_in_hash_(hash_password(random_token(16))) {
    // An installation made before accounts gets their table, empty.
    ensure_accounts_table(*work_);
}

std::optional<Account> AccountDirectory::find(const std::string& name) {
    std::lock_guard lock(mutex_);
    try {
        return find_account(*work_, name);
    } catch (const DatabaseFailure&) {
        // A server that went away and came back: a new connection, and one more try.
        if (!work_->on_server()) throw;
        work_ = open_working_database(config_);
        return find_account(*work_, name);
    }
}

std::optional<Account> AccountDirectory::check(const std::string& name,
                                               const std::string& password) {
    auto account = find(name);
    checking_.acquire();
    const bool matches = password_matches(account ? account->hash : stand_in_hash_, password);
    checking_.release();
    if (!account || !matches) return std::nullopt;
    return account;
}

}  // namespace corvela::web
