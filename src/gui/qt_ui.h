// The UI seam of the desktop program: the dialogs go to a `Dialogs`, everything else to the
// controls of the main window (status label, progress bar, months grid).
#pragma once

#include <QElapsedTimer>

#include "gui/dialogs.h"
#include "platform/ui.h"

class QLabel;
class QProgressBar;
class QTableWidget;

namespace corvela::gui {

// The main window's controls the core writes to and reads from.
struct MainControls {
    QProgressBar* ProgressBar1 = nullptr;
    QLabel* contenido = nullptr;
    QLabel* months_caption = nullptr;
    QTableWidget* DBfechas = nullptr;
};

class QtUi : public Ui {
  public:
    QtUi(Dialogs& dialogs, const MainControls& controls);
    ~QtUi() override;

    void message(const std::string& text, const std::string& title, Icon icon) override;
    void message_with_hint(const std::string& text, const std::string& title, Icon icon,
                           const std::string& hint) override;
    using Ui::ask_yes_no;
    bool ask_yes_no(const std::string& text, const std::string& title, Icon icon,
                    bool no_is_default) override;
    std::string input(const std::string& prompt, const std::string& title,
                      const std::string& initial) override;
    std::string choose_color(int options) override { return dialogs_.choose_color(options); }
    std::string choose_open_file(const std::vector<FileFilter>& filters, const std::string& title,
                                 const std::string& folder) override {
        return dialogs_.choose_open_file(filters, title, folder);
    }
    std::string choose_save_file(const std::vector<FileFilter>& filters, const std::string& title,
                                 int filter_index) override {
        return dialogs_.choose_save_file(filters, title, filter_index);
    }
    std::string choose_folder(const std::string& title) override {
        return dialogs_.choose_folder(title);
    }

    void show_progress(bool visible) override;
    void set_status(const std::string& text) override;
    bool wants_status() override;
    void set_progress_range(int minimum, int maximum) override;
    void set_progress(int value) override;
    void process_events() override;

    void show_months(const std::string& caption, const std::string& month_title,
                     const std::string& year_title,
                     const std::vector<std::pair<int, int>>& rows) override;

    void set_busy(bool busy) override;

  private:
    Dialogs& dialogs_;
    MainControls c_;
    // Repainting after every line of a large file would cost more than the checks themselves;
    // the window is refreshed a few dozen times a second instead.
    QElapsedTimer last_events_;
    QElapsedTimer last_status_;
    int busy_depth_ = 0;
};

}  // namespace corvela::gui
