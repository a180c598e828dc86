#include "gui/widgets.h"

#include <QShortcut>

namespace corvela::gui {

QPushButton* button(const char* name, const QString& caption, QWidget* parent) {
    auto* b = named<QPushButton>(name, parent, caption);
    b->setMinimumHeight(34);
    // Outside a dialog a button takes Enter only as a default button.
    b->setAutoDefault(true);
    return b;
}

void escape_presses(QWidget* window, QAbstractButton* button) {
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), window);
    QObject::connect(escape, &QShortcut::activated, button, &QAbstractButton::click);
}

void tab_order(std::initializer_list<QWidget*> controls) {
    QWidget* previous = nullptr;
    for (QWidget* w : controls) {
        if (previous) QWidget::setTabOrder(previous, w);
        previous = w;
    }
}

QLabel* window_title(const char* name, const QString& text, QWidget* parent) {
    auto* l = named<QLabel>(name, parent, text);
    QFont font = l->font();
    font.setPointSize(font.pointSize() + 6);
    font.setBold(true);
    l->setFont(font);
    return l;
}

DeliveryChoice delivery_choice(QWidget* parent) {
    return {named<QLabel>("Label1", parent, QStringLiteral("Seleccione el Hospital:")),
            named<QLabel>("Label2", parent,
                          QStringLiteral("Seleccione el número de remisión / número radicado del "
                                         "aplicativo :")),
            named<QComboBox>("Cmblista", parent), named<QComboBox>("Cmbremision", parent)};
}

}  // namespace corvela::gui
