// The modal part of the desktop program's UI: message boxes, Yes/No questions, input boxes and the
// colour, file and folder dialogs.
// The windows reach them only through `Dialogs`, so that tests answer them from a script while
// every other control stays real.
#pragma once

#include <QString>
#include <string>
#include <vector>

#include "platform/ui.h"

class QWidget;

namespace corvela::gui {

class Dialogs {
  public:
    virtual ~Dialogs() = default;
    virtual void message(const std::string& text, const std::string& title, Icon icon) = 0;
    // A message with Corvela's hint as the box's detailed text.
    virtual void message_with_hint(const std::string& text, const std::string& title, Icon icon,
                                   const std::string& hint) = 0;
    virtual bool ask_yes_no(const std::string& text, const std::string& title, Icon icon,
                            bool no_is_default) = 0;
    // The text typed, empty when cancelled.
    virtual std::string input(const std::string& prompt, const std::string& title,
                              const std::string& initial) = 0;
    // As the UI seam gives them: the choice, or the empty text when cancelled.
    virtual std::string choose_color(int options) = 0;
    virtual std::string choose_open_file(const std::vector<FileFilter>& filters,
                                         const std::string& title, const std::string& folder) = 0;
    virtual std::string choose_save_file(const std::vector<FileFilter>& filters,
                                         const std::string& title, int filter_index) = 0;
    virtual std::string choose_folder(const std::string& title) = 0;
};

// A message text as a box shows it: CR LF and CR alone become line breaks.
QString display_text(const std::string& text);
// A box's title: its own, or the program's default title when it has none.
QString display_title(const std::string& title);

// The boxes of gui/boxes.h, and QColorDialog and QFileDialog, run over the window that is active
// when they open.
class QtDialogs : public Dialogs {
  public:
    void message(const std::string& text, const std::string& title, Icon icon) override;
    void message_with_hint(const std::string& text, const std::string& title, Icon icon,
                           const std::string& hint) override;
    bool ask_yes_no(const std::string& text, const std::string& title, Icon icon,
                    bool no_is_default) override;
    std::string input(const std::string& prompt, const std::string& title,
                      const std::string& initial) override;
    std::string choose_color(int options) override;
    std::string choose_open_file(const std::vector<FileFilter>& filters, const std::string& title,
                                 const std::string& folder) override;
    std::string choose_save_file(const std::vector<FileFilter>& filters, const std::string& title,
                                 int filter_index) override;
    std::string choose_folder(const std::string& title) override;
};

}  // namespace corvela::gui
