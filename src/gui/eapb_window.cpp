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
    Buttons b{};
    auto* layout = new QVBoxLayout(body);
    layout->addWidget(heading);
    layout->addWidget(entity_box(body));
    layout->addWidget(navigation_box(body, b));
    layout->addWidget(operations_box(body, b));
    layout->addStretch(1);
    escape_presses(this, b.cmdCerrar);
    // Tab goes through the boxes as they stand on screen, then the buttons row by row.
    tab_order({Text_[0], Text_[5], Text_[1], Text_[2], Text_[3], Text_[4], Cmbperi_, CmbDepto_,
               CmbMuni_, b.primerreg, b.regreg, b.siguereg, b.ultreg, b.cmdBuscar, b.cmdAgregar,
               b.cmdEliminar, b.cmdRenovar, b.cmdActualizar, b.cmdCerrar});
    wire(b);

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

QGroupBox* EapbWindow::entity_box(QWidget* body) {
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
    return fields;
}

QGroupBox* EapbWindow::navigation_box(QWidget* body, Buttons& b) {
    auto* Picture1 = new QGroupBox(body);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    auto* nav = new QHBoxLayout(Picture1);
    b.primerreg = button("primerreg", QStringLiteral("Primer Registro"), Picture1);
    b.regreg = button("regreg", QStringLiteral("Regresar Registro"), Picture1);
    b.siguereg = button("siguereg", QStringLiteral("Siguiente Registro"), Picture1);
    b.ultreg = button("ultreg", QStringLiteral("Ultimo Registro"), Picture1);
    for (QPushButton* p : {b.primerreg, b.regreg, b.siguereg, b.ultreg}) nav->addWidget(p);
    return Picture1;
}

QGroupBox* EapbWindow::operations_box(QWidget* body, Buttons& b) {
    auto* picButtons = new QGroupBox(body);
    picButtons->setObjectName(QStringLiteral("picButtons"));
    auto* ops = new QHBoxLayout(picButtons);
    b.cmdBuscar = button("cmdBuscar", QStringLiteral("Buscar"), picButtons);
    b.cmdAgregar = button("cmdAgregar", QStringLiteral("&Agregar"), picButtons);
    b.cmdEliminar = button("cmdEliminar", QStringLiteral("&Eliminar"), picButtons);
    b.cmdRenovar = button("cmdRenovar", QStringLiteral("&Renovar"), picButtons);
    b.cmdActualizar = button("cmdActualizar", QStringLiteral("Actuali&zar"), picButtons);
    b.cmdCerrar = button("cmdCerrar", QStringLiteral("&Cerrar"), picButtons);
    for (QPushButton* p :
         {b.cmdBuscar, b.cmdAgregar, b.cmdEliminar, b.cmdRenovar, b.cmdActualizar, b.cmdCerrar})
        ops->addWidget(p);
    return picButtons;
}

void EapbWindow::wire(const Buttons& b) {
    auto on = [this](QPushButton* button, void (EapbRegistry::*operation)()) {
        connect(button, &QPushButton::clicked, this,
                [this, operation] { forward([&] { (registry_.*operation)(); }); });
    };
    on(b.primerreg, &EapbRegistry::first);
    on(b.regreg, &EapbRegistry::previous);
    on(b.siguereg, &EapbRegistry::next);
    on(b.ultreg, &EapbRegistry::last);
    on(b.cmdBuscar, &EapbRegistry::search);
    on(b.cmdAgregar, &EapbRegistry::add);
    on(b.cmdEliminar, &EapbRegistry::remove);
    on(b.cmdRenovar, &EapbRegistry::renew);
    on(b.cmdActualizar, &EapbRegistry::update);
    connect(b.cmdCerrar, &QPushButton::clicked, this, [this] {
        forward([&] { registry_.close(); });
        if (registry_.closed()) close();
    });
    auto on_combo = [this](QComboBox* box, void (EapbRegistry::*operation)(int)) {
        connect(box, &QComboBox::currentIndexChanged, this,
                [this, operation](int index) { forward([&] { (registry_.*operation)(index); }); });
    };
    on_combo(Cmbperi_, &EapbRegistry::select_institution_type);
    on_combo(CmbDepto_, &EapbRegistry::select_department);
    on_combo(CmbMuni_, &EapbRegistry::select_municipality);
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
