// The accounts as the web service reads them: a connection of its own to the working database,
// used by one request at a time and opened again after the server went away, and the check of a
// password. Checks run a few at a time, since each takes tens of megabytes for a moment.
#pragma once

#include <memory>
#include <mutex>
#include <optional>
#include <semaphore>
#include <string>

#include "app/accounts.h"
#include "db/database.h"
#include "platform/config.h"

namespace corvela::web {

class AccountDirectory {
  public:
    // Opens the connection; throws DatabaseFailure when it does not open.
    explicit AccountDirectory(const Configuration& config);

    std::optional<Account> find(const std::string& name);
    // The account when `password` is its password; none otherwise, after the same work for a
    // name that is no account as for a wrong password.
    std::optional<Account> check(const std::string& name, const std::string& password);

  private:
    Configuration config_;
    std::mutex mutex_;
    std::unique_ptr<Database> work_;
    // The hash a name that is no account is checked against.
    std::string stand_in_hash_;
    std::counting_semaphore<2> checking_{2};
};

}  // namespace corvela::web
