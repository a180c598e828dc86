// The command line's UI: every message box is printed on standard output as a line "[title]"
// followed by its text, each CR a line break; a Yes/No question takes the answer given on the
// command line.
#pragma once

#include <cstdio>
#include <string>

#include "platform/ui.h"

namespace corvela {

class ConsoleUi : public Ui {
  public:
    explicit ConsoleUi(bool answer_yes) : answer_yes_(answer_yes) {}

    void message(const std::string& text, const std::string& title, Icon) override {
        print_box(title, text);
    }
    bool ask_yes_no(const std::string& text, const std::string& title) override {
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
    static void print_box(const std::string& title, const std::string& text) {
        std::string body = text;
        for (char& c : body)
            if (c == '\r') c = '\n';
        std::printf("[%s]\n%s\n", title.empty() ? kDefaultTitle : title.c_str(), body.c_str());
        std::fflush(stdout);
    }
    bool answer_yes_;
};

}  // namespace corvela
