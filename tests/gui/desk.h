// A desktop session for the window tests: the Qt application (offscreen), a sample installation
// (the shipped reference rows, the sample sites and the sample delivery) and the main window over
// it. Message boxes and input boxes are answered by a scripted fake; every other control is the
// real one and is driven by its object name.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QTreeWidget>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "gui/dialogs.h"
#include "gui/main_window.h"
#include "platform/clock.h"
#include "support/installation.h"

namespace corvela::testing {

// The windows' dialogs, answered from the script.
struct ScriptedDialogs : ScriptedUi, gui::Dialogs {
    void message(const std::string& text, const std::string& title, Icon icon) override {
        ScriptedUi::message(text, title, icon);
    }
    void message_with_hint(const std::string& text, const std::string& title, Icon icon,
                           const std::string& hint) override {
        ScriptedUi::message_with_hint(text, title, icon, hint);
    }
    bool ask_yes_no(const std::string& text, const std::string& title, Icon icon,
                    bool no_is_default) override {
        return ScriptedUi::ask_yes_no(text, title, icon, no_is_default);
    }
    std::string input(const std::string& prompt, const std::string& title,
                      const std::string& initial) override {
        return ScriptedUi::input(prompt, title, initial);
    }
    std::string choose_color(int options) override { return ScriptedUi::choose_color(options); }
    std::string choose_open_file(const std::vector<FileFilter>& filters, const std::string& title,
                                 const std::string& folder) override {
        return ScriptedUi::choose_open_file(filters, title, folder);
    }
    std::string choose_save_file(const std::vector<FileFilter>& filters, const std::string& title,
                                 int filter_index) override {
        return ScriptedUi::choose_save_file(filters, title, filter_index);
    }
    std::string choose_folder(const std::string& title) override {
        return ScriptedUi::choose_folder(title);
    }
};

class Desk : public ::testing::Test {
  protected:
    // The window built and started; `config` may name a missing file.
    void open(const std::filesystem::path& config_path);
    void open() { open(inst.config); }

    // A control of the main window, or of a window opened from it, by object name.
    template <class T>
    T* control(const char* name, QWidget* in = nullptr) {
        QWidget* where = in ? in : static_cast<QWidget*>(window.get());
        T* c = where->findChild<T*>(QLatin1String(name));
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
    QString text(const char* box, QWidget* in = nullptr) {
        return control<QLineEdit>(box, in)->text();
    }
    void click(const char* button, QWidget* in = nullptr);
    // A key pressed in the control that has the focus.
    void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    // The object name of the control that has the focus.
    static std::string focused();
    // The controls Tab reaches from `first` on, `first` included, `count` in all.
    std::vector<std::string> tabbing_from(QWidget* first, size_t count);
    // The window, frame included, lies inside the screen's work area, and its controls have the
    // room they need.
    static void expect_fits(QWidget* w);
    // A window opened from the main window, shown and not yet closed; null when none.
    QWidget* opened(const char* name);

    // Walks the folder list to `folder` as an operator would: double clicks from the root down.
    void pick_folder(const std::filesystem::path& folder);
    // Clicks an entry of the file list.
    void pick_file(const QString& name);
    // "Leer Archivos" over the sample delivery, from picking its folder on.
    void run_sample();
    std::string last_message() const {
        return ui.messages.empty() ? std::string() : ui.messages.back().text;
    }
    std::string last_title() const {
        return ui.messages.empty() ? std::string() : ui.messages.back().title;
    }
    // The rows of a list view, cells joined by "|".
    static std::vector<std::string> rows_of(QTreeWidget* view);
    static std::vector<std::string> headers_of(QTreeWidget* view);
    static std::vector<std::string> items_of(QComboBox* box);

    Installation inst{Sample{}};
    FixedDateClock clock{Date{2026, 12, 6}};
    ScriptedDialogs ui;
    std::vector<std::string> opened_pages;
    std::unique_ptr<gui::MainWindow> window;
};

}  // namespace corvela::testing
