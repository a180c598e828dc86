// The command line's UI: every message box is printed on standard output as a line "[title]"
// followed by its text, each CR a line break; a Yes/No question takes the answer given on the
// command line.
#pragma once

#include <chrono>
#include <cstdio>
#include <string>

#include "platform/ui.h"

namespace corvela {

class ConsoleUi : public Ui {
  public:
    // `progress_on_terminal`: show the status text on standard error (when it is a terminal).
    explicit ConsoleUi(bool answer_yes, bool progress_on_terminal = false)
        : answer_yes_(answer_yes), progress_(progress_on_terminal) {}

    // The status text of the run, rewritten in place a few times a second.
    bool wants_status() override {
        return progress_ &&
               std::chrono::steady_clock::now() - last_status_ >= std::chrono::milliseconds(250);
    }
    void set_status(const std::string& text) override {
        if (!wants_status()) return;
        last_status_ = std::chrono::steady_clock::now();
        std::fprintf(stderr, "\r\033[K%s", text.c_str());
        std::fflush(stderr);
        status_shown_ = true;
    }
    void show_progress(bool visible) override {
        if (!visible && status_shown_) {
            std::fprintf(stderr, "\r\033[K");
            std::fflush(stderr);
            status_shown_ = false;
        }
    }

    void message(const std::string& text, const std::string& title, Icon) override {
        print_box(title, text);
    }
    using Ui::ask_yes_no;
    bool ask_yes_no(const std::string& text, const std::string& title, Icon, bool) override {
        print_box(title, text);
        std::printf("> %s\n", answer_yes_ ? "Sí" : "No");
        return answer_yes_;
    }
    void show_months(const std::string& caption, const std::string& month_title,
                     const std::string& year_title,
                     const std::vector<std::pair<int, int>>& rows) override {
        std::printf("%s\n%5s  %6s\n", caption.c_str(), month_title.c_str(), year_title.c_str());
        for (auto& [mes, ano] : rows) std::printf("%5d  %5d\n", mes, ano);
        std::fflush(stdout);
    }

  private:
    void print_box(const std::string& title, const std::string& text) {
        show_progress(false);
        std::string body = text;
        for (char& c : body)
            if (c == '\r') c = '\n';
        std::printf("[%s]\n%s\n", title.empty() ? kDefaultTitle : title.c_str(), body.c_str());
        std::fflush(stdout);
    }
    bool answer_yes_;
    bool progress_;
    bool status_shown_ = false;
    std::chrono::steady_clock::time_point last_status_{};
};

}  // namespace corvela
