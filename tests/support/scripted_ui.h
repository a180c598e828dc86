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
    std::string hint;  // the box's detailed text, empty when none
};

// A colour, file or folder dialog as it was opened.
struct OpenedDialog {
    std::string kind;  // "color", "open", "save" or "folder"
    std::string title;
    std::string folder;
    std::vector<FileFilter> filters;
    int option = 0;  // the colour options or the save dialog's filter index
    bool operator==(const OpenedDialog&) const = default;
};

class ScriptedUi : public Ui {
  public:
    std::vector<ShownMessage> messages;
    std::vector<std::string> questions;  // "title|text" of every question and input box
    std::deque<bool> answers;            // Yes/No answers, in order; No when exhausted
    std::deque<std::string> inputs;      // input box answers, in order; empty when exhausted
    std::vector<Icon> question_icons;    // icon of every Yes/No question
    std::vector<bool> no_defaults;       // whether No was the default button of each question
    std::vector<std::pair<int, int>> months;
    std::string months_caption;
    std::string status;                 // the last status text
    std::vector<OpenedDialog> dialogs;  // every colour, file and folder dialog
    std::deque<std::string> choices;    // their answers, in order; cancelled when exhausted

    void message(const std::string& text, const std::string& title, Icon icon) override {
        messages.push_back({text, title, icon, ""});
    }
    void message_with_hint(const std::string& text, const std::string& title, Icon icon,
                           const std::string& hint) override {
        messages.push_back({text, title, icon, hint});
    }
    using Ui::ask_yes_no;
    bool ask_yes_no(const std::string& text, const std::string& title, Icon icon,
                    bool no_is_default) override {
        questions.push_back(title + "|" + text);
        question_icons.push_back(icon);
        no_defaults.push_back(no_is_default);
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
    std::string choose_color(int options) override {
        return chosen({"color", "", "", {}, options});
    }
    std::string choose_open_file(const std::vector<FileFilter>& filters, const std::string& title,
                                 const std::string& folder) override {
        return chosen({"open", title, folder, filters, 0});
    }
    std::string choose_save_file(const std::vector<FileFilter>& filters, const std::string& title,
                                 int filter_index) override {
        return chosen({"save", title, "", filters, filter_index});
    }
    std::string choose_folder(const std::string& title) override {
        return chosen({"folder", title, "", {}, 0});
    }
    void set_status(const std::string& text) override { status = text; }
    void show_months(const std::string& caption, const std::string&, const std::string&,
                     const std::vector<std::pair<int, int>>& rows) override {
        months_caption = caption;
        months = rows;
    }

    std::string chosen(OpenedDialog dialog) {
        dialogs.push_back(std::move(dialog));
        if (choices.empty()) return {};
        std::string a = choices.front();
        choices.pop_front();
        return a;
    }

    // Titles of the messages shown, in order.
    std::vector<std::string> titles() const {
        std::vector<std::string> t;
        for (auto& m : messages) t.push_back(m.title);
        return t;
    }
};

}  // namespace corvela::testing
