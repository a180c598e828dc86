#include "gui/dialogs.h"

#include <QApplication>

#include "gui/boxes.h"

namespace corvela::gui {

namespace {
QWidget* box_parent() {
    return QApplication::activeWindow();
}
}  // namespace

QString display_text(const std::string& text) {
    QString shown = QString::fromStdString(text);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

QString display_title(const std::string& title) {
    return QString::fromStdString(title.empty() ? std::string(kDefaultTitle) : title);
}

void QtDialogs::message(const std::string& text, const std::string& title, Icon icon) {
    message_box(text, title, icon, box_parent())->exec();
}

bool QtDialogs::ask_yes_no(const std::string& text, const std::string& title, Icon icon,
                           bool no_is_default) {
    return question_box(text, title, icon, no_is_default, box_parent())->exec() == QMessageBox::Yes;
}

std::string QtDialogs::input(const std::string& prompt, const std::string& title,
                             const std::string& initial) {
    auto box = input_box(prompt, title, initial, box_parent());
    return box->exec() == QDialog::Accepted ? box->textValue().toStdString() : std::string();
}

}  // namespace corvela::gui
