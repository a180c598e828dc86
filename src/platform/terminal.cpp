#include "platform/terminal.h"

#include <cstdio>
#include <iostream>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <termios.h>
#include <unistd.h>
#endif

namespace corvela {

namespace {
bool is_terminal(int descriptor) {
#ifdef _WIN32
    return _isatty(descriptor) != 0;
#else
    return isatty(descriptor) != 0;
#endif
}
}  // namespace

bool stderr_is_terminal() {
    return is_terminal(2);
}

bool stdin_is_terminal() {
    return is_terminal(0);
}

namespace {
// Turns the terminal's echo off for as long as it lives, and back on at its end.
class EchoOff {
  public:
    EchoOff() {
#ifdef _WIN32
        input_ = GetStdHandle(STD_INPUT_HANDLE);
        active_ = GetConsoleMode(input_, &mode_) &&
                  SetConsoleMode(input_, mode_ & ~static_cast<DWORD>(ENABLE_ECHO_INPUT));
#else
        active_ = tcgetattr(0, &saved_) == 0;
        if (!active_) return;
        termios quiet = saved_;
        quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        active_ = tcsetattr(0, TCSAFLUSH, &quiet) == 0;
#endif
    }
    ~EchoOff() {
        if (!active_) return;
#ifdef _WIN32
        SetConsoleMode(input_, mode_);
#else
        tcsetattr(0, TCSAFLUSH, &saved_);
#endif
    }
    EchoOff(const EchoOff&) = delete;
    EchoOff& operator=(const EchoOff&) = delete;

  private:
    bool active_ = false;
#ifdef _WIN32
    HANDLE input_;
    DWORD mode_ = 0;
#else
    termios saved_{};
#endif
};
}  // namespace

std::optional<std::string> read_secret_line(const std::string& prompt) {
    std::string line;
    bool read = false;
    if (stdin_is_terminal()) {
        std::fprintf(stderr, "%s", prompt.c_str());
        std::fflush(stderr);
        EchoOff quiet;
        read = static_cast<bool>(std::getline(std::cin, line));
        // The Enter typed was not shown either.
        std::fprintf(stderr, "\n");
    } else {
        read = static_cast<bool>(std::getline(std::cin, line));
    }
    if (!read && line.empty()) return std::nullopt;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

}  // namespace corvela
