#include "gui/deletion_window.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/cleanup.h"
#include "gui/guard.h"
#include "gui/placement.h"
#include "gui/widgets.h"

namespace corvela::gui {

DeletionWindow::DeletionWindow(Program& program, QWidget* parent)
    : QWidget(parent, Qt::Window), program_(program) {
    setObjectName(QStringLiteral("frmborrar"));
    setWindowTitle(QStringLiteral("Borrar registros."));
    auto* body = new QWidget;

    auto* Label3 = window_title("Label3", QStringLiteral("Borrar Registros Almacenados"), body);

    auto* choice = new QGroupBox(body);
    auto* grid = new QVBoxLayout(choice);
    const DeliveryChoice c = delivery_choice(choice);
    Cmblista_ = c.Cmblista;
    Cmbremision_ = c.Cmbremision;
    grid->addWidget(c.Label1);
    grid->addWidget(Cmblista_);
    grid->addSpacing(8);
    grid->addWidget(c.Label2);
    grid->addWidget(Cmbremision_);

    auto* borrar = button(
        "CmdBorrar",
        QStringLiteral("Borrar información de un No. remisión/No. Radicación procesado"), body);
    auto* salir = button("CmdSalir", QStringLiteral("Regresar"), body);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(borrar, 1);
    buttons->addWidget(salir);

    auto* layout = new QVBoxLayout(body);
    layout->addWidget(Label3);
    layout->addWidget(choice);
    layout->addSpacing(12);
    layout->addLayout(buttons);
    hold_in_scroll_area(this, body);
    escape_presses(this, salir);

    connect(borrar, &QPushButton::clicked, this, &DeletionWindow::CmdBorrar_Click);
    connect(salir, &QPushButton::clicked, this, &QWidget::close);
    connect(Cmblista_, &QComboBox::currentIndexChanged, this, &DeletionWindow::Cmblista_Click);
    connect(Cmbremision_, &QComboBox::currentIndexChanged, this,
            &DeletionWindow::Cmbremision_Click);

    resize(640, body->sizeHint().height());
    Form_Load();
}

void DeletionWindow::Form_Load() {
    ips_ = ips_rows(*program_.work);
    {
        QSignalBlocker block(Cmblista_);
        for (const auto& ips : ips_) Cmblista_->addItem(QString::fromStdString(ips.shown()));
    }
    if (Cmblista_->count() > 0) {
        Cmblista_->setCurrentIndex(0);
        Cmblista_Click(0);
    }
}

void DeletionWindow::Cmblista_Click(int index) {
    if (index < 0) return;
    list_deliveries();
}

void DeletionWindow::list_deliveries() {
    guarded(program_.ui, [&] {
        if (const IpsRow* row = find_ips(ips_, Cmblista_->currentText().toStdString()))
            ips_code_ = row->code;
        auto entries = delivery_entries(*program_.work, ips_code_, DeliveryKey::EapbSede);
        QSignalBlocker block(Cmbremision_);
        Cmbremision_->clear();
        for (const auto& e : entries) Cmbremision_->addItem(QString::fromStdString(e));
        Cmbremision_->setCurrentIndex(Cmbremision_->count() > 0 ? 0 : -1);
        delivery_ = Cmbremision_->currentText().toStdString();
    });
}

void DeletionWindow::Cmbremision_Click(int index) {
    if (index >= 0) delivery_ = Cmbremision_->itemText(index).toStdString();
}

void DeletionWindow::CmdBorrar_Click() {
    guarded(program_.ui, [&] { return delete_delivery(program_, ips_code_, delivery_); });
    list_deliveries();
}

}  // namespace corvela::gui
