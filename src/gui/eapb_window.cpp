#include "gui/eapb_window.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QVBoxLayout>
#include <algorithm>

#include "db/statement.h"
#include "gui/guard.h"
#include "gui/placement.h"
#include "gui/widgets.h"

namespace corvela::gui {

namespace {
void show_combo(QComboBox* box, const ComboState& state) {
    QSignalBlocker block(box);
    QStringList items;
    for (const auto& i : state.items) items << QString::fromStdString(i);
    bool same = box->count() == items.size();
    for (int i = 0; same && i < items.size(); ++i) same = box->itemText(i) == items[i];
    if (!same) {
        box->clear();
        box->addItems(items);
    }
    box->setCurrentIndex(state.index);
}

// The names of a list the window offers, all of them (a municipality box shows those of one
// department at a time).
QStringList names_in(Database& work, const char* table) {
    QStringList names;
    Statement st = work.prepare(std::string("SELECT nombre FROM ") + table);
    while (st.step()) names << QString::fromStdString(st.text(0));
    return names;
}

// Makes `box` wide enough to show each of `names` whole, as Qt sizes a box to its own items.
void fit_names(QComboBox* box, const QStringList& names) {
    int widest = 0;
    for (const QString& name : names)
        widest = std::max(widest, box->fontMetrics().horizontalAdvance(name));
    QStyleOptionComboBox option;
    option.initFrom(box);
    box->setMinimumWidth(box->style()
                             ->sizeFromContents(QStyle::CT_ComboBox, &option,
                                                QSize(widest, box->fontMetrics().height()), box)
                             .width());
}

}  // namespace

EapbWindow::EapbWindow(Database& work, Ui& ui, QWidget* parent)
    : QWidget(parent, Qt::Window), ui_(ui), registry_(work, ui) {
    setObjectName(QStringLiteral("frmIPS"));
    setWindowTitle(QStringLiteral("Datos EAPB"));
    auto* body = new QWidget;

    auto* heading = window_title(
        "Label7", QStringLiteral("Datos de la Administradora de Planes de Beneficios"), body);

    auto* fields = new QGroupBox(body);
    auto* grid = new QGridLayout(fields);
    const char* const captions[] = {
        "Codigo:", "Responsable:", "Dirección:", "Fax:", "Telefono:", "Nombre EAPB:"};
    // Rows of the boxes: code and name first, then the contact data.
    const int rows[] = {0, 2, 3, 4, 5, 1};
    for (int i = 0; i < 6; ++i) {
        auto* caption = new QLabel(QString::fromUtf8(captions[i]), fields);
        caption->setObjectName(QStringLiteral("Label%1").arg(i + 1));
        Text_[i] = new QLineEdit(fields);
        Text_[i]->setObjectName(QStringLiteral("Text%1").arg(i + 1));
        grid->addWidget(caption, rows[i], 0);
        grid->addWidget(Text_[i], rows[i], 1, 1, 2);
    }
    Cmbperi_ = new QComboBox(fields);
    Cmbperi_->setObjectName(QStringLiteral("Cmbperi"));
    CmbDepto_ = new QComboBox(fields);
    CmbDepto_->setObjectName(QStringLiteral("CmbDepto"));
    CmbMuni_ = new QComboBox(fields);
    CmbMuni_->setObjectName(QStringLiteral("CmbMuni"));
    auto* tipo = new QLabel(QStringLiteral("Tipo:"), fields);
    tipo->setObjectName(QStringLiteral("Label8"));
    auto* lugar = new QLabel(QStringLiteral("Departamento y Municipio:"), fields);
    lugar->setObjectName(QStringLiteral("Label9"));
    grid->addWidget(tipo, 6, 0);
    grid->addWidget(Cmbperi_, 6, 1, 1, 2);
    grid->addWidget(lugar, 7, 0);
    grid->addWidget(CmbDepto_, 7, 1);
    grid->addWidget(CmbMuni_, 7, 2);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(2, 1);

    auto* Picture1 = new QGroupBox(body);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    auto* nav = new QHBoxLayout(Picture1);
    auto* primerreg = button("primerreg", QStringLiteral("Primer Registro"), Picture1);
    auto* regreg = button("regreg", QStringLiteral("Regresar Registro"), Picture1);
    auto* siguereg = button("siguereg", QStringLiteral("Siguiente Registro"), Picture1);
    auto* ultreg = button("ultreg", QStringLiteral("Ultimo Registro"), Picture1);
    for (QPushButton* b : {primerreg, regreg, siguereg, ultreg}) nav->addWidget(b);

    auto* picButtons = new QGroupBox(body);
    picButtons->setObjectName(QStringLiteral("picButtons"));
    auto* ops = new QHBoxLayout(picButtons);
    auto* cmdBuscar = button("cmdBuscar", QStringLiteral("Buscar"), picButtons);
    auto* cmdAgregar = button("cmdAgregar", QStringLiteral("&Agregar"), picButtons);
    auto* cmdEliminar = button("cmdEliminar", QStringLiteral("&Eliminar"), picButtons);
    auto* cmdRenovar = button("cmdRenovar", QStringLiteral("&Renovar"), picButtons);
    auto* cmdActualizar = button("cmdActualizar", QStringLiteral("Actuali&zar"), picButtons);
    auto* cmdCerrar = button("cmdCerrar", QStringLiteral("&Cerrar"), picButtons);
    for (QPushButton* b :
         {cmdBuscar, cmdAgregar, cmdEliminar, cmdRenovar, cmdActualizar, cmdCerrar})
        ops->addWidget(b);

    auto* layout = new QVBoxLayout(body);
    layout->addWidget(heading);
    layout->addWidget(fields);
    layout->addWidget(Picture1);
    layout->addWidget(picButtons);
    layout->addStretch(1);
    escape_presses(this, cmdCerrar);
    // Tab goes through the boxes as they stand on screen, then the buttons row by row.
    tab_order({Text_[0], Text_[5], Text_[1], Text_[2], Text_[3], Text_[4], Cmbperi_, CmbDepto_,
               CmbMuni_, primerreg, regreg, siguereg, ultreg, cmdBuscar, cmdAgregar, cmdEliminar,
               cmdRenovar, cmdActualizar, cmdCerrar});

    auto on = [this](QPushButton* b, void (EapbRegistry::*click)()) {
        connect(b, &QPushButton::clicked, this,
                [this, click] { forward([&] { (registry_.*click)(); }); });
    };
    on(primerreg, &EapbRegistry::first);
    on(regreg, &EapbRegistry::previous);
    on(siguereg, &EapbRegistry::next);
    on(ultreg, &EapbRegistry::last);
    on(cmdBuscar, &EapbRegistry::search);
    on(cmdAgregar, &EapbRegistry::add);
    on(cmdEliminar, &EapbRegistry::remove);
    on(cmdRenovar, &EapbRegistry::renew);
    on(cmdActualizar, &EapbRegistry::update);
    connect(cmdCerrar, &QPushButton::clicked, this, [this] {
        forward([&] { registry_.close(); });
        if (registry_.closed()) close();
    });
    auto on_combo = [this](QComboBox* box, void (EapbRegistry::*click)(int)) {
        connect(box, &QComboBox::currentIndexChanged, this,
                [this, click](int index) { forward([&] { (registry_.*click)(index); }); });
    };
    on_combo(Cmbperi_, &EapbRegistry::select_institution_type);
    on_combo(CmbDepto_, &EapbRegistry::select_department);
    on_combo(CmbMuni_, &EapbRegistry::select_municipality);

    forward([&] { registry_.open(); });
    // The department and the municipality share their row; each shows the longest name of its
    // list whole.
    guarded(ui_, [&] {
        fit_names(CmbDepto_, names_in(work, "departamentos"));
        fit_names(CmbMuni_, names_in(work, "municipios"));
    });
    // Last, so that the scroll area measures the controls at their final sizes.
    hold_in_scroll_area(this, body);
    resize(760, 420);
}

void EapbWindow::forward(const std::function<void()>& click) {
    take_edits();
    guarded(ui_, click);
    show_state();
}

void EapbWindow::take_edits() {
    std::string* texts[] = {&registry_.texts.code,      &registry_.texts.manager,
                            &registry_.texts.address,   &registry_.texts.fax,
                            &registry_.texts.telephone, &registry_.texts.name};
    for (int i = 0; i < 6; ++i) *texts[i] = Text_[i]->text().toStdString();
}

void EapbWindow::show_state() {
    const std::string* texts[] = {&registry_.texts.code,      &registry_.texts.manager,
                                  &registry_.texts.address,   &registry_.texts.fax,
                                  &registry_.texts.telephone, &registry_.texts.name};
    for (int i = 0; i < 6; ++i) Text_[i]->setText(QString::fromStdString(*texts[i]));
    show_combo(Cmbperi_, registry_.institution_types);
    show_combo(CmbDepto_, registry_.departments);
    show_combo(CmbMuni_, registry_.municipalities);
}

void EapbWindow::closeEvent(QCloseEvent* event) {
    registry_.closing();
    event->accept();
}

}  // namespace corvela::gui
