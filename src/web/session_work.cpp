#include "web/session_work.h"

#include <thread>

namespace corvela::web {

std::shared_ptr<SessionWork> SessionWorks::of(const std::string& session_id) {
    std::lock_guard lock(mutex_);
    auto& work = works_[session_id];
    if (!work) work = std::make_shared<SessionWork>();
    return work;
}

std::shared_ptr<Operation> SessionWorks::new_operation(SessionWork& work, const std::string& kind) {
    std::lock_guard lock(work.mutex);
    if (work.busy() || work.ended) return nullptr;
    // The operation before it has ended; its thread is joined as it goes.
    work.operation = std::make_shared<Operation>(++work.operations, kind, work.events, waits_);
    return work.operation;
}

void SessionWorks::end_work(SessionWork& work) {
    std::lock_guard lock(work.mutex);
    work.ended = true;
    work.events.close();
    if (work.operation) work.operation->give_up_questions();
    work.eapb.reset();
}

void SessionWorks::end(const std::string& session_id) {
    std::shared_ptr<SessionWork> work;
    {
        std::lock_guard lock(mutex_);
        auto found = works_.find(session_id);
        if (found == works_.end()) return;
        work = found->second;
    }
    end_work(*work);
}

void SessionWorks::end_unless(const std::function<bool(const std::string&)>& alive) {
    std::vector<std::shared_ptr<SessionWork>> ended;
    {
        std::lock_guard lock(mutex_);
        for (auto it = works_.begin(); it != works_.end();) {
            auto work = it->second;
            if (!alive(it->first)) end_work(*work);
            std::lock_guard work_lock(work->mutex);
            if (work->ended && !work->busy()) {
                ended.push_back(work);
                it = works_.erase(it);
            } else {
                ++it;
            }
        }
    }
    // Dropped here, outside the lock: the last operation's thread is joined.
}

bool SessionWorks::end_all(std::chrono::seconds wait) {
    std::vector<std::shared_ptr<SessionWork>> works;
    {
        std::lock_guard lock(mutex_);
        for (auto& [id, work] : works_) works.push_back(work);
    }
    for (auto& work : works) end_work(*work);
    const auto until = std::chrono::steady_clock::now() + wait;
    for (auto& work : works) {
        for (;;) {
            {
                std::lock_guard lock(work->mutex);
                if (!work->busy()) break;
            }
            if (std::chrono::steady_clock::now() >= until) return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    }
    std::lock_guard lock(mutex_);
    works_.clear();
    return true;
}

}  // namespace corvela::web
