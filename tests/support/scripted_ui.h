// The tests' UI: records every message box and answers questions and input boxes from a script.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/ui.h"

namespace corvela::testing {

struct ShownMessage {
    std::string text;
    std::string title;
    Icon icon;
};

class ScriptedUi : public Ui {
  public:
    std::vector<ShownMessage> messages;
    std::vector<std::string> questions;
    std::deque<bool> answers;           // Yes/No answers, in order; No when exhausted
    std::deque<std::string> inputs;     // input-box answers, in order; empty when exhausted
    std::vector<std::string> statuses;  // every status text set
    std::vector<std::pair<int, int>> months;
    std::string months_caption, month_title, year_title;

    void message(const std::string& text, const std::string& title, Icon icon) override {
        messages.push_back({text, title, icon});
    }
    bool ask_yes_no(const std::string& text, const std::string& title) override {
        questions.push_back(title + "|" + text);
        if (answers.empty()) return false;
        bool a = answers.front();
        answers.pop_front();
        return a;
    }
    std::string input(const std::string& prompt, const std::string& title,
                      const std::string&) override {
        questions.push_back(title + "|" + prompt);
        if (inputs.empty()) return {};
        std::string a = inputs.front();
        inputs.pop_front();
        return a;
    }
    void set_status(const std::string& text) override { statuses.push_back(text); }
    void show_months(const std::string& caption, const std::string& mt, const std::string& yt,
                     const std::vector<std::pair<int, int>>& rows) override {
        months_caption = caption;
        month_title = mt;
        year_title = yt;
        months = rows;
    }

    // Titles of the messages shown, in order.
    std::vector<std::string> titles() const {
        std::vector<std::string> t;
        for (auto& m : messages) t.push_back(m.title);
        return t;
    }
};

}  // namespace corvela::testing
