// The report window `Frm_informe`: an IPS and one of its saved deliveries, the validation summary
// or the inconsistency table of that delivery in the list view `Lv1`, and its export as an HTML
// page or as an Excel workbook.
#pragma once

#include <QWidget>
#include <functional>
#include <optional>

#include "reports/delivery_report.h"

class QComboBox;
class QTreeWidget;

namespace corvela::gui {

// Shows a list view's column headers and items in a tree widget in report mode.
void show_list(QTreeWidget* view, const ListView& list);

class ReportWindow : public QWidget {
    Q_OBJECT
  public:
    ReportWindow(Program& program, std::function<bool(const std::string&)> opener,
                 QWidget* parent = nullptr);

  private:
    void Form_Load();
    void Cmblista_Click(int index);
    void Cmbremision_Click(int index);
    void generar_informe_Click();
    void informe_inconsistencias_Click();
    void cmdExport_Click();
    // "Exportar a Excel": the list shown, as a workbook saved where the operator chooses.
    void cmdExcel_Click();
    void show_deliveries();

    Program& program_;
    DeliveryReport report_;
    QComboBox* Cmblista_ = nullptr;
    QComboBox* Cmbremision_ = nullptr;
    QTreeWidget* Lv1_ = nullptr;
    std::optional<bool> page_opened_;  // whether the last export's page was opened
};

}  // namespace corvela::gui
