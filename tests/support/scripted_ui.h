// The tests' UI: records every message box and question, answers Yes/No questions from a script.
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
    std::vector<std::string> questions;  // "title|text" of every question and input box
    std::deque<bool> answers;            // Yes/No answers, in order; No when exhausted
    std::deque<std::string> inputs;      // input box answers, in order; empty when exhausted
    std::vector<Icon> question_icons;    // icon of every Yes/No question
    std::vector<std::pair<int, int>> months;
    std::string months_caption;
    std::string status;  // the last status text

    void message(const std::string& text, const std::string& title, Icon icon) override {
        messages.push_back({text, title, icon});
    }
    using Ui::ask_yes_no;
    bool ask_yes_no(const std::string& text, const std::string& title, Icon icon, bool) override {
        questions.push_back(title + "|" + text);
        question_icons.push_back(icon);
        bool a = !answers.empty() && answers.front();
        if (!answers.empty()) answers.pop_front();
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
    void set_status(const std::string& text) override { status = text; }
    void show_months(const std::string& caption, const std::string&, const std::string&,
                     const std::vector<std::pair<int, int>>& rows) override {
        months_caption = caption;
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
