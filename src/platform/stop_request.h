// A long-running program (the web service) ends cleanly when asked to: by the service manager's
// SIGTERM or by Ctrl+C (SIGINT).
#pragma once

#include <functional>

namespace corvela {

// Calls `stop` once, on a thread of its own, when the program is asked to end. Call it before
// any other thread starts, so that every thread leaves the request to that one.
void call_on_stop_request(std::function<void()> stop);

}  // namespace corvela
