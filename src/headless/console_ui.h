// The console's UI, for the programs without windows: every message box is printed on standard
// output as a line "[title]" followed by its text, each CR a line break, and a hint of Corvela's
// own beside it on standard error as "corvela: " + hint, each of its lines so; a Yes/No question
// takes the answer given on the command line. For a script's document (--json), the web service's
// start-up and its operations, the boxes and the months grid are recorded instead of printed.
#pragma once

#include <chrono>
#include <cstdio>
#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "platform/ui.h"

namespace corvela {

// A box as it was shown: its title (the default one when it had none), its text with line breaks
// where the box shows CR, and the answer given when it was a question.
struct ShownBox {
    std::string title, text;
    std::optional<bool> answer;
    std::string hint;  // Corvela's own line beside the box, empty when none
};

class ConsoleUi : public Ui {
  public:
    // `progress_on_terminal`: show the status text on standard error (when it is a terminal).
    // `record`: keep the boxes and the months grid for a document instead of printing them.
    explicit ConsoleUi(bool answer_yes, bool progress_on_terminal = false, bool record = false)
        : answer_yes_(answer_yes), progress_(progress_on_terminal), record_(record) {}

    const std::vector<ShownBox>& boxes() const { return boxes_; }
    const std::vector<std::pair<int, int>>& months() const { return months_; }
    // The recorded boxes, printed as they would have been, to `out`.
    void print_recorded(std::FILE* out) const {
        for (const auto& b : boxes_) {
            std::fprintf(out, "[%s]\n%s\n", b.title.c_str(), b.text.c_str());
            if (b.answer) std::fprintf(out, "> %s\n", *b.answer ? "Sí" : "No");
            print_hint(out, b.hint);
        }
    }

    // A hint of Corvela's own, each of its lines after "corvela: ".
    static void print_hint(std::FILE* out, const std::string& hint) {
        std::istringstream lines(hint);
        for (std::string line; std::getline(lines, line);)
            std::fprintf(out, "corvela: %s\n", line.c_str());
    }

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
        show_box(title, text, std::nullopt);
    }
    // The hint goes to standard error, after the box it belongs to.
    void message_with_hint(const std::string& text, const std::string& title, Icon,
                           const std::string& hint) override {
        show_box(title, text, std::nullopt, hint);
    }
    using Ui::ask_yes_no;
    bool ask_yes_no(const std::string& text, const std::string& title, Icon, bool) override {
        show_box(title, text, answer_yes_);
        return answer_yes_;
    }
    void show_months(const std::string& caption, const std::string& month_title,
                     const std::string& year_title,
                     const std::vector<std::pair<int, int>>& rows) override {
        if (record_) {
            months_ = rows;
            return;
        }
        std::printf("%s\n%5s  %6s\n", caption.c_str(), month_title.c_str(), year_title.c_str());
        for (auto& [mes, ano] : rows) std::printf("%5d  %5d\n", mes, ano);
        std::fflush(stdout);
    }

  protected:
    // Every box goes through here: recorded or printed. A front end that shows boxes elsewhere as
    // well (the web service's operations) records them here and passes them on.
    virtual void show_box(const std::string& title, const std::string& text,
                          std::optional<bool> answer, const std::string& hint = "") {
        show_progress(false);
        ShownBox box{title.empty() ? kDefaultTitle : title, text, answer, hint};
        for (char& c : box.text)
            if (c == '\r') c = '\n';
        if (record_) {
            boxes_.push_back(std::move(box));
            return;
        }
        std::printf("[%s]\n%s\n", box.title.c_str(), box.text.c_str());
        if (answer) std::printf("> %s\n", *answer ? "Sí" : "No");
        std::fflush(stdout);
        print_hint(stderr, hint);
    }

  private:
    bool answer_yes_;
    bool progress_;
    bool record_;
    std::vector<ShownBox> boxes_;
    std::vector<std::pair<int, int>> months_;
    bool status_shown_ = false;
    std::chrono::steady_clock::time_point last_status_{};
};

}  // namespace corvela
