#include "web/event_channel.h"

namespace corvela::web {

void EventChannel::publish(const std::string& name, const nlohmann::ordered_json& data) {
    // Texts come from the delivery's files; a byte that is not UTF-8 is replaced, not fatal.
    std::string line = data.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
    {
        std::lock_guard lock(mutex_);
        events_.push_back({++last_id_, name, std::move(line)});
        if (events_.size() > kKept) events_.pop_front();
    }
    changed_.notify_all();
}

uint64_t EventChannel::last_id() const {
    std::lock_guard lock(mutex_);
    return last_id_;
}

uint64_t EventChannel::open_stream() {
    uint64_t opened = 0;
    {
        std::lock_guard lock(mutex_);
        opened = stream_ = ++streams_;
        closed_since_.reset();
    }
    changed_.notify_all();
    return opened;
}

void EventChannel::close_stream(uint64_t stream) {
    std::lock_guard lock(mutex_);
    if (stream_ != stream) return;
    stream_ = 0;
    closed_since_ = std::chrono::steady_clock::now();
}

std::optional<std::vector<Event>> EventChannel::next(uint64_t stream, uint64_t after,
                                                     std::chrono::milliseconds wait) {
    std::unique_lock lock(mutex_);
    const auto ready = [&] { return closed_ || stream_ != stream || last_id_ > after; };
    changed_.wait_for(lock, wait, ready);
    if (closed_ || stream_ != stream) return std::nullopt;
    std::vector<Event> found;
    for (const auto& e : events_)
        if (e.id > after) found.push_back(e);
    return found;
}

void EventChannel::close() {
    {
        std::lock_guard lock(mutex_);
        closed_ = true;
        stream_ = 0;
    }
    changed_.notify_all();
}

bool EventChannel::browser_present(std::chrono::steady_clock::duration grace) const {
    std::lock_guard lock(mutex_);
    if (closed_) return false;
    return !closed_since_ || std::chrono::steady_clock::now() - *closed_since_ < grace;
}

}  // namespace corvela::web
