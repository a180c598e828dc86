#include "gui/dialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>

#include "gui/boxes.h"

namespace corvela::gui {

namespace {
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
    message_box(text, title, icon, {}, box_parent())->exec();
}

void QtDialogs::message_with_hint(const std::string& text, const std::string& title, Icon icon,
                                  const std::string& hint) {
    message_box(text, title, icon, hint, box_parent())->exec();
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
