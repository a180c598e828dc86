// The one way the core talks to an operator: message boxes, Yes/No questions, input boxes, the
// colour, file and folder dialogs, the status label, the progress bar and the months grid.
// The desktop program, the command line and the tests' scripted fake each implement it.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace corvela {

enum class Icon { None, Information, Critical, Exclamation };

// One choice of file type in the open and save dialogs: its description and its patterns,
// separated by ";" ("*.htm;*.html").
struct FileFilter {
    std::string description;
    std::string pattern;
    bool operator==(const FileFilter&) const = default;
};

class Ui {
  public:
    virtual ~Ui() = default;

    // A modal message box. Line breaks inside `text` are CR alone. An empty title means the
    // program's default title ("Corvela").
    virtual void message(const std::string& text, const std::string& title, Icon icon) = 0;
    // A message box with a hint of Corvela's own beside its text (which file or folder, what to
    // do next; app/hints.h): the box's detailed text in the windows, a line "corvela: " + hint
    // on standard error on the command line. A front end without a place for it shows the
    // message alone.
    virtual void message_with_hint(const std::string& text, const std::string& title, Icon icon,
                                   [[maybe_unused]] const std::string& hint) {
        message(text, title, icon);
    }
    // A Yes/No question with its icon; true for Yes. `no_is_default` makes No the button that
    // Enter presses.
    virtual bool ask_yes_no(const std::string& text, const std::string& title, Icon icon,
                            bool no_is_default) = 0;
    // A Yes/No question without an icon, Yes the default button.
    bool ask_yes_no(const std::string& text, const std::string& title) {
        return ask_yes_no(text, title, Icon::None, false);
    }
    // An input box; returns the text typed, empty when cancelled.
    virtual std::string input([[maybe_unused]] const std::string& prompt,
                              [[maybe_unused]] const std::string& title,
                              const std::string& initial) {
        return initial;
    }

    // The colour, file and folder dialogs. Each returns what the operator chose, or the empty text
    // when the dialog was cancelled; where no dialog can be shown (the command line) they return
    // the empty text at once.

    // A colour, as a colour integer (red in the lowest byte) written in decimal. `options` are the
    // caller's flags for the chooser, which the desktop's chooser has no use for.
    virtual std::string choose_color([[maybe_unused]] int options) { return {}; }
    // An existing file to open, starting in `folder`.
    virtual std::string choose_open_file([[maybe_unused]] const std::vector<FileFilter>& filters,
                                         [[maybe_unused]] const std::string& title,
                                         [[maybe_unused]] const std::string& folder) {
        return {};
    }
    // A file to save to; `filter_index` (from 1) is the filter offered first.
    virtual std::string choose_save_file([[maybe_unused]] const std::vector<FileFilter>& filters,
                                         [[maybe_unused]] const std::string& title,
                                         [[maybe_unused]] int filter_index) {
        return {};
    }
    virtual std::string choose_folder([[maybe_unused]] const std::string& title) { return {}; }

    // The status label and the progress bar, shown only during a run.
    virtual void show_progress([[maybe_unused]] bool visible) {}
    virtual void set_status([[maybe_unused]] const std::string& text) {}
    // Whether a status text set now would be shown; lets a long loop skip building it.
    virtual bool wants_status() { return true; }
    virtual void set_progress_range([[maybe_unused]] int minimum, [[maybe_unused]] int maximum) {}
    virtual void set_progress([[maybe_unused]] int value) {}
    // Lets the window repaint and stay responsive during long loops.
    virtual void process_events() {}

    // The months grid: (mes, ano) rows under its caption and column titles.
    virtual void show_months([[maybe_unused]] const std::string& caption,
                             [[maybe_unused]] const std::string& month_title,
                             [[maybe_unused]] const std::string& year_title,
                             [[maybe_unused]] const std::vector<std::pair<int, int>>& rows) {}

    // The wait pointer.
    virtual void set_busy([[maybe_unused]] bool busy) {}
};

// The title used for a message box that has none of its own.
inline const char* const kDefaultTitle = "Corvela";

}  // namespace corvela
