#include "gui/widgets.h"

namespace corvela::gui {

QPushButton* button(const char* name, const QString& caption, QWidget* parent) {
    auto* b = named<QPushButton>(name, parent, caption);
    b->setMinimumHeight(34);
    return b;
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
