#include "gui/report_window.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "gui/guard.h"
#include "gui/page_opening.h"
#include "gui/placement.h"
#include "gui/widgets.h"
#include "platform/text.h"
#include "reports/report_workbook.h"

namespace corvela::gui {

void show_list(QTreeWidget* view, const ListView& list) {
    view->clear();
    QStringList headers;
    for (const auto& h : list.column_headers) headers << QString::fromStdString(h);
    view->setColumnCount(static_cast<int>(headers.size()));
    view->setHeaderLabels(headers);
    for (const auto& row : list.items) {
        QStringList cells;
        for (size_t c = 0; c < row.size() && c < list.column_headers.size(); ++c)
            cells << QString::fromStdString(row[c]);
        new QTreeWidgetItem(view, cells);
    }
    for (int c = 0; c < view->columnCount(); ++c) {
        view->resizeColumnToContents(c);
        view->setColumnWidth(c, view->columnWidth(c) + 24);
    }
}

ReportWindow::ReportWindow(Program& program, std::function<bool(const std::string&)> opener,
                           QWidget* parent)
    : QWidget(parent, Qt::Window), program_(program), report_(program) {
    if (opener)
        report_.opener = [this, open = std::move(opener)](const std::string& path) {
            page_opened_ = open(path);
            return *page_opened_;
        };
    setObjectName(QStringLiteral("Frm_informe"));
    setWindowTitle(QStringLiteral("Resultado validación."));
    auto* body = new QWidget;

    auto* Label3 = window_title("Label3", QStringLiteral("Resultados de la validación"), body);

    auto* choice = new QGroupBox(body);
    auto* grid = new QGridLayout(choice);
    const DeliveryChoice c = delivery_choice(choice);
    Cmblista_ = c.Cmblista;
    Cmbremision_ = c.Cmbremision;
    grid->addWidget(c.Label1, 0, 0);
    grid->addWidget(Cmblista_, 1, 0);
    grid->addWidget(c.Label2, 0, 1);
    grid->addWidget(Cmbremision_, 1, 1);
    grid->setColumnStretch(0, 3);
    grid->setColumnStretch(1, 2);

    // The report buttons in a row, "Regresar" apart at its end.
    auto* generar = button("generar_informe", QStringLiteral("Generar Informe validacion"), body);
    auto* inconsistencias =
        button("informe_inconsistencias", QStringLiteral("Reporte de Inconsistencias"), body);
    auto* exportar = button("cmdExport", QStringLiteral("Exportar a Html"), body);
    auto* excel = button("cmdExcel", QStringLiteral("Exportar a Excel"), body);
    auto* salir = button("CmdSalir", QStringLiteral("Regresar"), body);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {generar, inconsistencias, exportar, excel}) buttons->addWidget(b);
    buttons->addStretch(1);
    buttons->addWidget(salir);

    Lv1_ = new QTreeWidget(body);
    Lv1_->setObjectName(QStringLiteral("Lv1"));
    Lv1_->setRootIsDecorated(false);
    Lv1_->setUniformRowHeights(true);
    Lv1_->setAlternatingRowColors(true);
    Lv1_->setHeaderLabels({QString()});
    Lv1_->header()->setStretchLastSection(false);

    auto* layout = new QVBoxLayout(body);
    layout->addWidget(Label3);
    layout->addWidget(choice);
    layout->addLayout(buttons);
    layout->addWidget(Lv1_, 1);
    hold_in_scroll_area(this, body);
    escape_presses(this, salir);

    connect(generar, &QPushButton::clicked, this, &ReportWindow::generar_informe_Click);
    connect(inconsistencias, &QPushButton::clicked, this,
            &ReportWindow::informe_inconsistencias_Click);
    connect(exportar, &QPushButton::clicked, this, &ReportWindow::cmdExport_Click);
    connect(excel, &QPushButton::clicked, this, &ReportWindow::cmdExcel_Click);
    connect(salir, &QPushButton::clicked, this, &QWidget::close);
    connect(Cmblista_, &QComboBox::currentIndexChanged, this, &ReportWindow::Cmblista_Click);
    connect(Cmbremision_, &QComboBox::currentIndexChanged, this, &ReportWindow::Cmbremision_Click);

    resize(1000, 640);
    Form_Load();
}

void ReportWindow::Form_Load() {
    report_.load();
    QSignalBlocker block(Cmblista_);
    for (const auto& ips : report_.ips()) Cmblista_->addItem(QString::fromStdString(ips.shown()));
    if (Cmblista_->count() > 0) Cmblista_->setCurrentIndex(0);
    show_deliveries();
}

void ReportWindow::Cmblista_Click(int index) {
    if (index < 0) return;
    guarded(program_.ui, [&] { report_.select_ips(Cmblista_->itemText(index).toStdString()); });
    show_deliveries();
}

void ReportWindow::show_deliveries() {
    QSignalBlocker block(Cmbremision_);
    Cmbremision_->clear();
    for (const auto& d : report_.deliveries()) Cmbremision_->addItem(QString::fromStdString(d));
    if (Cmbremision_->count() > 0) Cmbremision_->setCurrentIndex(0);
}

void ReportWindow::Cmbremision_Click(int index) {
    if (index < 0) return;
    report_.select_delivery(Cmbremision_->itemText(index).toStdString());
}

void ReportWindow::generar_informe_Click() {
    guarded(program_.ui, [&] {
        if (report_.show_summary().ok()) show_list(Lv1_, report_.list());
    });
}

void ReportWindow::informe_inconsistencias_Click() {
    guarded(program_.ui, [&] {
        if (report_.show_inconsistencies().ok()) show_list(Lv1_, report_.list());
    });
}

void ReportWindow::cmdExport_Click() {
    guarded(program_.ui, [&] {
        page_opened_.reset();
        const Result<std::string> written = report_.export_page();
        // The page is there even when no program could show it; the operator learns where.
        if (written.ok() && page_opened_ && !*page_opened_)
            program_.ui.message(page_saved_text(written.value()), "Exportar", Icon::Information);
    });
}

void ReportWindow::cmdExcel_Click() {
    guarded(program_.ui, [&] {
        std::string path =
            program_.ui.choose_save_file({{"Libro de Excel", "*.xlsx"}}, "Exportar a Excel", 1);
        if (path.empty()) return;
        if (path.size() < 5 || to_upper(path.substr(path.size() - 5)) != ".XLSX") path += ".xlsx";
        write_report_workbook(path, report_.title(), report_.list());
        program_.ui.message("El libro se guardó en " + path + ".", "Exportar a Excel",
                            Icon::Information);
    });
}

}  // namespace corvela::gui
