#include "gui/dialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
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

// Qt's filter texts, "description (patterns)" with blanks between patterns. The dialogs are
// told to hide the parenthesised part, so the operator reads each description as given.
QStringList name_filters(const std::vector<FileFilter>& filters) {
    QStringList names;
    for (const FileFilter& f : filters)
        names << QString::fromStdString(f.description) + QStringLiteral(" (") +
                     QString::fromStdString(f.pattern).replace(QLatin1Char(';'), QLatin1Char(' ')) +
                     QLatin1Char(')');
    return names;
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

std::string QtDialogs::choose_color(int /*options*/) {
    const QColor c = QColorDialog::getColor(Qt::white, box_parent());
    if (!c.isValid()) return {};
    return std::to_string(c.red() | c.green() << 8 | c.blue() << 16);
}

std::string QtDialogs::choose_open_file(const std::vector<FileFilter>& filters,
                                        const std::string& title, const std::string& folder) {
    return QFileDialog::getOpenFileName(box_parent(), display_title(title),
                                        QString::fromStdString(folder),
                                        name_filters(filters).join(QStringLiteral(";;")), nullptr,
                                        QFileDialog::HideNameFilterDetails)
        .toStdString();
}

std::string QtDialogs::choose_save_file(const std::vector<FileFilter>& filters,
                                        const std::string& title, int filter_index) {
    const QStringList names = name_filters(filters);
    QString first =
        filter_index >= 1 && filter_index <= names.size() ? names[filter_index - 1] : QString();
    return QFileDialog::getSaveFileName(box_parent(), display_title(title), QString(),
                                        names.join(QStringLiteral(";;")), &first,
                                        QFileDialog::HideNameFilterDetails)
        .toStdString();
}

std::string QtDialogs::choose_folder(const std::string& title) {
    return QFileDialog::getExistingDirectory(box_parent(), display_title(title)).toStdString();
}

}  // namespace corvela::gui
