#include "platform/stop_request.h"

#include <thread>

#ifdef _WIN32
#include <csignal>
#else
#include <signal.h>
#endif

namespace corvela {

#ifdef _WIN32
namespace {
std::function<void()>& requested_stop() {
    static std::function<void()> stop;
    return stop;
}
void on_signal(int) {
    if (requested_stop()) requested_stop()();
}
}  // namespace

void call_on_stop_request(std::function<void()> stop) {
    requested_stop() = std::move(stop);
    std::signal(SIGINT, on_signal);
    std::signal(SIGTERM, on_signal);
}
#else
void call_on_stop_request(std::function<void()> stop) {
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGTERM);
    sigaddset(&signals, SIGINT);
    // Threads started after this inherit the mask: only the waiting thread takes the signals.
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    std::thread([signals, stop = std::move(stop)] {
        int received = 0;
        sigwait(&signals, &received);
        stop();
    }).detach();
}
#endif

}  // namespace corvela
