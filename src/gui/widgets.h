// Controls made the same way in every window: each carries the object name its window is known
// by, so that tests and the operator's documentation find it under that name.
#pragma once

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QString>
#include <initializer_list>

namespace corvela::gui {

// A control of type T with its object name; further arguments go to T's constructor before the
// parent.
template <class T, class... Args>
T* named(const char* name, QWidget* parent, Args&&... args) {
    auto* w = new T(std::forward<Args>(args)..., parent);
    w->setObjectName(QLatin1String(name));
    return w;
}

// A button that Enter presses when it has the focus, as Space does.
QPushButton* button(const char* name, const QString& caption, QWidget* parent);
// Esc in `window` presses `button` (the window's "Regresar" or "Cerrar").
void escape_presses(QWidget* window, QAbstractButton* button);
// Makes Tab go through `controls` in their order; given every control of a window that Tab
// reaches, the last one leads back to the first.
void tab_order(std::initializer_list<QWidget*> controls);
// The large bold title at the top of a window.
QLabel* window_title(const char* name, const QString& text, QWidget* parent);

// The choice of an IPS and one of its saved deliveries, shared by the report and delete windows.
struct DeliveryChoice {
    QLabel* Label1;
    QLabel* Label2;
    QComboBox* Cmblista;
    QComboBox* Cmbremision;
};
DeliveryChoice delivery_choice(QWidget* parent);

}  // namespace corvela::gui
