#include "gui/qt_ui.h"

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QTableWidget>

namespace corvela::gui {

namespace {
constexpr qint64 kEventsEveryMs = 30;
constexpr qint64 kStatusEveryMs = 100;

}  // namespace

QtUi::QtUi(Dialogs& dialogs, const MainControls& controls) : dialogs_(dialogs), c_(controls) {}

QtUi::~QtUi() {
    while (busy_depth_ > 0) set_busy(false);
}

void QtUi::message(const std::string& text, const std::string& title, Icon icon) {
    dialogs_.message(text, title, icon);
}

void QtUi::message_with_hint(const std::string& text, const std::string& title, Icon icon,
                             const std::string& hint) {
    dialogs_.message_with_hint(text, title, icon, hint);
}

bool QtUi::ask_yes_no(const std::string& text, const std::string& title, Icon icon,
                      bool no_is_default) {
    return dialogs_.ask_yes_no(text, title, icon, no_is_default);
}

std::string QtUi::input(const std::string& prompt, const std::string& title,
                        const std::string& initial) {
    return dialogs_.input(prompt, title, initial);
}

void QtUi::show_progress(bool visible) {
    c_.ProgressBar1->setVisible(visible);
    c_.contenido->setVisible(visible);
    // The next chance to repaint is taken at once, so the progress shows from the first file on.
    last_events_.invalidate();
}

void QtUi::set_status(const std::string& text) {
    c_.contenido->setText(QString::fromStdString(text));
    last_status_.start();
}

bool QtUi::wants_status() {
    return !last_status_.isValid() || last_status_.elapsed() >= kStatusEveryMs;
}

void QtUi::set_progress_range(int minimum, int maximum) {
    c_.ProgressBar1->setRange(minimum, maximum);
}

void QtUi::set_progress(int value) {
    c_.ProgressBar1->setValue(value);
}

void QtUi::process_events() {
    if (last_events_.isValid() && last_events_.elapsed() < kEventsEveryMs) return;
    last_events_.start();
    QCoreApplication::processEvents();
}

void QtUi::show_months(const std::string& caption, const std::string& month_title,
                       const std::string& year_title,
                       const std::vector<std::pair<int, int>>& rows) {
    c_.months_caption->setText(QString::fromStdString(caption));
    QTableWidget* grid = c_.DBfechas;
    grid->setHorizontalHeaderLabels(
        {QString::fromStdString(month_title), QString::fromStdString(year_title)});
    grid->setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        const auto& [mes, ano] = rows[static_cast<size_t>(r)];
        for (int c = 0; c < 2; ++c) {
            auto* cell = new QTableWidgetItem(QString::number(c == 0 ? mes : ano));
            cell->setTextAlignment(Qt::AlignCenter);
            grid->setItem(r, c, cell);
        }
    }
}

void QtUi::set_busy(bool busy) {
    if (busy) {
        ++busy_depth_;
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else if (busy_depth_ > 0) {
        --busy_depth_;
        QApplication::restoreOverrideCursor();
    }
}

}  // namespace corvela::gui
