#include "web/sessions.h"

#include "platform/secrets.h"

namespace corvela::web {

namespace {
constexpr size_t kTokenBytes = 32;  // 256 bits
}

SessionTable::SessionTable(std::chrono::minutes idle, SteadyNow now)
    : idle_(idle), now_(std::move(now)) {}

Session SessionTable::open(const Account& account) {
    Session session{random_token(kTokenBytes),
                    random_token(kTokenBytes),
                    account.name,
                    account.desk,
                    account.hash,
                    now_()};
    std::lock_guard lock(mutex_);
    drop_idle();
    sessions_[session.id] = session;
    return session;
}

std::optional<Session> SessionTable::touch(const std::string& id) {
    std::lock_guard lock(mutex_);
    auto found = sessions_.find(id);
    if (found == sessions_.end()) return std::nullopt;
    const auto now = now_();
    if (now - found->second.last_seen >= idle_) {
        sessions_.erase(found);
        return std::nullopt;
    }
    found->second.last_seen = now;
    return found->second;
}

bool SessionTable::alive(const std::string& id) {
    std::lock_guard lock(mutex_);
    drop_idle();
    return sessions_.count(id) > 0;
}

void SessionTable::close(const std::string& id) {
    std::lock_guard lock(mutex_);
    sessions_.erase(id);
}

void SessionTable::drop_idle() {
    const auto now = now_();
    std::erase_if(sessions_,
                  [&](const auto& entry) { return now - entry.second.last_seen >= idle_; });
}

}  // namespace corvela::web
