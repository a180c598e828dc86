// The delete window `frmborrar`: an IPS and one of its saved deliveries, whose stored records
// "Borrar información de un No. remisión/No. Radicación procesado" deletes.
#pragma once

#include <QWidget>
#include <string>
#include <vector>

#include "app/program.h"
#include "reports/delivery_report.h"

class QComboBox;

namespace corvela::gui {

class DeletionWindow : public QWidget {
    Q_OBJECT
  public:
    explicit DeletionWindow(Program& program, QWidget* parent = nullptr);

  private:
    void Form_Load();
    void Cmblista_Click(int index);
    // Lists the deliveries of the chosen IPS again (also after a deletion).
    void list_deliveries();
    void Cmbremision_Click(int index);
    void CmdBorrar_Click();

    Program& program_;
    std::vector<IpsRow> ips_;
    std::string ips_code_;
    std::string delivery_;
    QComboBox* Cmblista_ = nullptr;
    QComboBox* Cmbremision_ = nullptr;
};

}  // namespace corvela::gui
