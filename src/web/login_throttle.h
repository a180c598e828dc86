// Failed log-ins slowed per account name and per address: after failures the next try waits a
// delay that doubles with each further failure, up to five minutes. An account name waits from
// its first failure; an address (which an office's PCs may share behind one router) after its
// fourth. A good log-in clears its name's failures; failures are forgotten a quarter of an hour
// after the last one. Names that are no account are slowed the same way, so nothing tells them
// apart.
#pragma once

#include <chrono>
#include <functional>
#include <map>
#include <mutex>
#include <string>

namespace corvela::web {

class LoginThrottle {
  public:
    using Now = std::function<std::chrono::steady_clock::time_point()>;
    explicit LoginThrottle(Now now = &std::chrono::steady_clock::now);

    // Whole seconds to wait before `name` may try again from `address`; 0 when it may now.
    int wait_seconds(const std::string& name, const std::string& address);
    void failed(const std::string& name, const std::string& address);
    void succeeded(const std::string& name);

  private:
    struct Failures {
        int count = 0;
        std::chrono::steady_clock::time_point last;
    };
    using Ledger = std::map<std::string, Failures>;
    std::chrono::steady_clock::duration still_to_wait(Ledger& ledger, const std::string& key,
                                                      int free_failures);
    void forget_old(Ledger& ledger);

    Now now_;
    std::mutex mutex_;
    Ledger names_, addresses_;
};

}  // namespace corvela::web
