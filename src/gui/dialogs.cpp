#include "gui/dialogs.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>

namespace corvela::gui {

namespace {
QMessageBox::Icon box_icon(Icon icon) {
    switch (icon) {
        case Icon::Information:
            return QMessageBox::Information;
        case Icon::Critical:
            return QMessageBox::Critical;
        case Icon::Exclamation:
            return QMessageBox::Warning;
        default:
            return QMessageBox::NoIcon;
    }
}

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
    QMessageBox box(box_icon(icon), display_title(title), display_text(text), QMessageBox::Ok,
                    box_parent());
    box.exec();
}

bool QtDialogs::ask_yes_no(const std::string& text, const std::string& title, Icon icon,
                           bool no_is_default) {
    QMessageBox box(box_icon(icon), display_title(title), display_text(text),
                    QMessageBox::Yes | QMessageBox::No, box_parent());
    box.setDefaultButton(no_is_default ? QMessageBox::No : QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

std::string QtDialogs::input(const std::string& prompt, const std::string& title,
                             const std::string& initial) {
    bool ok = false;
    QString typed = QInputDialog::getText(box_parent(), display_title(title), display_text(prompt),
                                          QLineEdit::Normal, QString::fromStdString(initial), &ok);
    return ok ? typed.toStdString() : std::string();
}

}  // namespace corvela::gui
