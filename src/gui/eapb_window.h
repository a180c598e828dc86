// The EAPB records window `frmIPS`: one paying entity at a time with its contact data, name,
// institution type, department and municipality; navigation, search, add, update and delete.
// The window keeps no state of its own: before each click it hands the operator's edits to the
// registry logic and afterwards shows what the logic holds.
#pragma once

#include <QWidget>
#include <functional>

#include "eapb/registry.h"

class QComboBox;
class QGroupBox;
class QPushButton;
class QLineEdit;

namespace corvela::gui {

class EapbWindow : public QWidget {
    Q_OBJECT
  public:
    EapbWindow(Database& work, Ui& ui, QWidget* parent = nullptr);

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    // The buttons, each wired to the registry operation it runs.
    struct Buttons {
        QPushButton *primerreg, *regreg, *siguereg, *ultreg;
        QPushButton *cmdBuscar, *cmdAgregar, *cmdEliminar, *cmdRenovar, *cmdActualizar, *cmdCerrar;
    };
    // The entity's boxes and lists; the navigation buttons; the operation buttons.
    QGroupBox* entity_box(QWidget* body);
    QGroupBox* navigation_box(QWidget* body, Buttons& b);
    QGroupBox* operations_box(QWidget* body, Buttons& b);
    void wire(const Buttons& b);
    // Runs a click of the registry logic between taking the edits and showing the result.
    void forward(const std::function<void()>& click);
    void take_edits();
    void show_state();

    Ui& ui_;
    EapbRegistry registry_;
    QLineEdit* Text_[6] = {};
    QComboBox* Cmbperi_ = nullptr;
    QComboBox* CmbDepto_ = nullptr;
    QComboBox* CmbMuni_ = nullptr;
};

}  // namespace corvela::gui
