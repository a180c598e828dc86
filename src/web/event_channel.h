// The events of one session on their way to its browser: what the session's operations show
// (progress, messages, questions, the months, their end) is published here as it happens and read
// by the session's one stream of server-sent events. The latest events are kept, numbered, so that
// a stream opened again (a page reloaded, a link that dropped) gets those it missed. A new stream
// ends the one before it. Whether a browser is still there is told by its stream: none open for a
// while means the browser went away.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

namespace corvela::web {

struct Event {
    uint64_t id = 0;
    std::string name;
    std::string data;  // one line of JSON
};

class EventChannel {
  public:
    void publish(const std::string& name, const nlohmann::ordered_json& data);

    // The number of the last event published (0 before the first).
    uint64_t last_id() const;
    // A new stream, which ends the one open before it; its number.
    uint64_t open_stream();
    void close_stream(uint64_t stream);
    // The events after `after`, waiting up to `wait` for one (none when the wait ended empty);
    // nullopt when `stream` has ended (replaced, or the channel closed).
    std::optional<std::vector<Event>> next(uint64_t stream, uint64_t after,
                                           std::chrono::milliseconds wait);
    // The session ended: its stream ends and its browser counts as gone.
    void close();

    // False once the session ended, or when the stream that was open closed more than `grace` ago
    // and none was opened since. A session that never opened a stream (a program polling the
    // operation) keeps its browser.
    bool browser_present(std::chrono::steady_clock::duration grace) const;

  private:
    static constexpr size_t kKept = 2000;

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Event> events_;
    uint64_t last_id_ = 0;
    uint64_t stream_ = 0;  // the open stream's number, 0 when none
    uint64_t streams_ = 0;
    std::optional<std::chrono::steady_clock::time_point> closed_since_;
    bool closed_ = false;
};

}  // namespace corvela::web
