// What a session does besides answering its requests: its event channel, its operation (the one
// running, or the last one, whose document stays to be read), and the EAPB registry window it has
// open. One operation runs at a time per session. When the session ends (log-out, idle expiry, its
// account removed) its stream ends, a question waiting takes its default at once, and the work is
// dropped once its operation has ended.
#pragma once

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "web/event_channel.h"
#include "web/operation.h"

namespace corvela::web {

struct EapbWindow;

struct SessionWork {
    // Declared first, so that it outlives the operation's thread, which publishes to it.
    EventChannel events;

    std::mutex mutex;  // guards what follows
    std::shared_ptr<Operation> operation;
    uint64_t operations = 0;
    std::shared_ptr<EapbWindow> eapb;
    bool ended = false;

    // The running operation, if any (then no other may start).
    bool busy() const { return operation && !operation->finished(); }
};

class SessionWorks {
  public:
    explicit SessionWorks(QuestionWaits waits) : waits_(waits) {}
    ~SessionWorks() { end_all(); }

    // The work of a session, made at its first use.
    std::shared_ptr<SessionWork> of(const std::string& session_id);
    // A new operation of the session's work, or none when one is running.
    std::shared_ptr<Operation> new_operation(SessionWork& work, const std::string& kind);

    void end(const std::string& session_id);
    // Ends the work of every session for which `alive` is false, and drops ended works whose
    // operation has finished.
    void end_unless(const std::function<bool(const std::string&)>& alive);
    // The service stops: every session's work ends, and the operations still running are waited
    // for up to `wait`; false when one still runs then.
    bool end_all(std::chrono::seconds wait = std::chrono::seconds(0));

  private:
    static void end_work(SessionWork& work);

    const QuestionWaits waits_;
    std::mutex mutex_;
    std::map<std::string, std::shared_ptr<SessionWork>> works_;
};

}  // namespace corvela::web
