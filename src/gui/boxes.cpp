#include "gui/boxes.h"

#include "gui/dialogs.h"
#include "gui/table_box.h"
#include "gui/translation.h"

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
}  // namespace

std::unique_ptr<QDialog> message_box(const std::string& text, const std::string& title, Icon icon,
                                     const std::string& hint, QWidget* parent) {
    const QString shown = display_text(text);
    if (shown.contains(QLatin1Char('\t')))
        return std::make_unique<TableBox>(shown, display_title(title), box_icon(icon), parent,
                                          QString::fromStdString(hint));
    auto box = std::make_unique<QMessageBox>(box_icon(icon), display_title(title), shown,
                                             QMessageBox::Ok, parent);
    if (!hint.empty()) box->setDetailedText(QString::fromStdString(hint));
    spanish_buttons(*box);
    return box;
}

std::unique_ptr<QMessageBox> question_box(const std::string& text, const std::string& title,
                                          Icon icon, bool no_is_default, QWidget* parent) {
    auto box =
        std::make_unique<QMessageBox>(box_icon(icon), display_title(title), display_text(text),
                                      QMessageBox::Yes | QMessageBox::No, parent);
    box->setDefaultButton(no_is_default ? QMessageBox::No : QMessageBox::Yes);
    spanish_buttons(*box);
    return box;
}

std::unique_ptr<QInputDialog> input_box(const std::string& prompt, const std::string& title,
                                        const std::string& initial, QWidget* parent) {
    auto box = std::make_unique<QInputDialog>(parent);
    box->setInputMode(QInputDialog::TextInput);
    box->setWindowTitle(display_title(title));
    box->setLabelText(display_text(prompt));
    box->setTextValue(QString::fromStdString(initial));
    spanish_buttons(*box);
    return box;
}

}  // namespace corvela::gui
