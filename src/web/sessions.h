// The web service's sessions, held in memory: a random 256-bit identifier (the cookie), a CSRF
// token of the same size tied to it, the account and desk it works for, and the time of its last
// request. A session unused for the idle time is gone; a log-in always opens a new one; a log-out
// ends it here, whatever the browser keeps. A restart of the service ends every session.
#pragma once

#include <chrono>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>

#include "app/accounts.h"

namespace corvela::web {

using SteadyNow = std::function<std::chrono::steady_clock::time_point()>;

struct Session {
    std::string id;
    std::string csrf;
    std::string account;
    std::string desk;
    // The account's password hash at log-in: a password changed since ends the session.
    std::string hash;
    std::chrono::steady_clock::time_point last_seen;
};

class SessionTable {
  public:
    explicit SessionTable(std::chrono::minutes idle,
                          SteadyNow now = &std::chrono::steady_clock::now);

    // A new session for the account, with identifiers never given before.
    Session open(const Account& account);
    // The live session of `id`, its idle time started again; none when it never was, has ended
    // or has been idle too long (then it ends).
    std::optional<Session> touch(const std::string& id);
    void close(const std::string& id);
    // Whether `id` is a live session, without starting its idle time again.
    bool alive(const std::string& id);
    std::chrono::minutes idle() const { return idle_; }

  private:
    void drop_idle();

    std::chrono::minutes idle_;
    SteadyNow now_;
    std::mutex mutex_;
    std::unordered_map<std::string, Session> sessions_;
};

}  // namespace corvela::web
