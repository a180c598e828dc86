#include "gui/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QStorageInfo>
#include <QTableWidget>
#include <QUrl>
#include <QVBoxLayout>

#include "app/cleanup.h"
#include "app/hints.h"
#include "app/save.h"
#include "app/validation_run.h"
#include "gui/deletion_window.h"
#include "gui/eapb_window.h"
#include "gui/folder_list.h"
#include "gui/guard.h"
#include "gui/identity.h"
#include "gui/placement.h"
#include "gui/report_window.h"
#include "gui/widgets.h"
#include "platform/file_list.h"
#include "platform/text.h"
#include "reports/delivery_report.h"
#include "reports/errors_workbook.h"

namespace corvela::gui {

Opener default_opener() {
    return [](const std::string& path) {
        return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
    };
}

namespace {
QLabel* label(const char* name, const QString& text, QWidget* parent) {
    return named<QLabel>(name, parent, text);
}

QLineEdit* box(const char* name, QWidget* parent) {
    return named<QLineEdit>(name, parent);
}

// A widget that keeps its place in the layout while hidden, so the window does not jump when the
// progress of a run appears and disappears.
void keep_place(QWidget* w) {
    QSizePolicy p = w->sizePolicy();
    p.setRetainSizeWhenHidden(true);
    w->setSizePolicy(p);
}
}  // namespace

MainWindow::MainWindow(const Clock& clock, Dialogs& dialogs, QWidget* parent)
    : QWidget(parent), opener_(default_opener()) {
    build();
    ui_ = std::make_unique<QtUi>(dialogs, controls_);
    program_ = std::make_unique<Program>(*ui_, clock);
    program_->on_delivery_changed = [this](const Delivery& d) { show_header(d.header); };
    fill_drives();
}

MainWindow::~MainWindow() {
    // The windows opened from here use the program; they go before it does.
    const auto children = findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
    for (QWidget* w : children)
        if (w->isWindow()) delete w;
}

void MainWindow::build() {
    setObjectName(QStringLiteral("total"));
    setWindowTitle(QStringLiteral(" Validación de archivos planos de RIPS."));
    auto* body = new QWidget;
    // The parts are made in the order they stand on screen.
    QHBoxLayout* title = title_row(body);
    auto* Line1 = new QFrame(body);
    Line1->setObjectName(QStringLiteral("Line1"));
    Line1->setFrameShape(QFrame::HLine);
    Line1->setFrameShadow(QFrame::Sunken);
    QGroupBox* pickers = pickers_box(body);
    QGroupBox* head = header_box(body);
    QGroupBox* months = months_box(body);
    Buttons b{};
    QGroupBox* actions = actions_box(body, b);

    auto* lower = new QHBoxLayout;
    lower->addWidget(months, 1);
    lower->addWidget(actions);
    auto* right = new QVBoxLayout;
    right->addWidget(head);
    right->addLayout(lower, 1);
    auto* middle = new QHBoxLayout;
    middle->addWidget(pickers, 2);
    middle->addLayout(right, 3);

    auto* layout = new QVBoxLayout(body);
    layout->addLayout(title);
    layout->addWidget(Line1);
    layout->addLayout(middle, 1);
    layout->addLayout(progress_row(body));

    hold_in_scroll_area(this, body);
    wire(b);
    fit_to_screen(this, QSize(1000, 660));
}

QHBoxLayout* MainWindow::title_row(QWidget* body) {
    auto* Image1 = new QLabel(body);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(corvela_icon().pixmap(40, 40));
    auto* Label1 = label("Label1", QStringLiteral("Corvela"), body);
    QFont title_font = Label1->font();
    title_font.setPointSize(title_font.pointSize() + 10);
    title_font.setBold(true);
    Label1->setFont(title_font);
    auto* Label15 = label("Label15", QStringLiteral("Versión  Octubre 12/2010 "), body);
    Label15->setAlignment(Qt::AlignRight | Qt::AlignBottom);
    auto* title_row = new QHBoxLayout;
    title_row->addWidget(Image1);
    title_row->addWidget(Label1);
    title_row->addStretch(1);
    title_row->addWidget(Label15, 0, Qt::AlignBottom);

    return title_row;
}

QGroupBox* MainWindow::pickers_box(QWidget* body) {
    // Pickers of the delivery.
    auto* pickers = new QGroupBox(body);
    auto* pick = new QVBoxLayout(pickers);
    Drive1_ = new QComboBox(pickers);
    Drive1_->setObjectName(QStringLiteral("Drive1"));
    Drive1_->setToolTip(QStringLiteral("Elija la unidad de lectura."));
    Dir1_ = new FolderList(pickers);
    Dir1_->setObjectName(QStringLiteral("Dir1"));
    Dir1_->setToolTip(QStringLiteral("Elija la carpeta del archivo."));
    File1_ = new QListWidget(pickers);
    File1_->setObjectName(QStringLiteral("File1"));
    File1_->setToolTip(QStringLiteral("Elija el archvo a procesar."));
    File1_->setProperty("pattern", QStringLiteral("*.txt"));
    pick->addWidget(label("Label2", QStringLiteral("Unidades:"), pickers));
    pick->addWidget(Drive1_);
    pick->addWidget(label("Label3", QStringLiteral("Directorios:"), pickers));
    pick->addWidget(Dir1_, 3);
    pick->addWidget(label("Label4", QStringLiteral("Archivos:"), pickers));
    pick->addWidget(File1_, 2);

    return pickers;
}

QGroupBox* MainWindow::header_box(QWidget* body) {
    // Header boxes of the delivery.
    auto* head = new QGroupBox(body);
    auto* form = new QGridLayout(head);
    boxes_.COD_EAPB = box("COD_EAPB", head);
    boxes_.NOMEAPB = box("NOMEAPB", head);
    boxes_.NOMREMITENTE = box("NOMREMITENTE", head);
    boxes_.DIRECCION = box("DIRECCION", head);
    boxes_.TELEFONO = box("TELEFONO", head);
    boxes_.NFAX = box("NFAX", head);
    boxes_.NREMISION = box("NREMISION", head);
    boxes_.FECHAREMI = box("FECHAREMI", head);
    boxes_.PERIODO = box("PERIODO", head);
    form->addWidget(label("Label5", QStringLiteral("COD. IPS:"), head), 0, 0);
    form->addWidget(boxes_.COD_EAPB, 0, 1);
    form->addWidget(boxes_.NOMEAPB, 0, 2, 1, 2);
    form->addWidget(label("Label7", QStringLiteral("REMITENTE:"), head), 1, 0);
    form->addWidget(boxes_.NOMREMITENTE, 1, 1, 1, 3);
    form->addWidget(label("Label11", QStringLiteral("DIRECCION:"), head), 2, 0);
    form->addWidget(boxes_.DIRECCION, 2, 1, 1, 3);
    form->addWidget(label("Label6", QStringLiteral("TELEFONO:"), head), 3, 0);
    form->addWidget(boxes_.TELEFONO, 3, 1);
    form->addWidget(label("Label12", QStringLiteral("No. FAX:"), head), 3, 2);
    form->addWidget(boxes_.NFAX, 3, 3);
    form->addWidget(label("Label9", QStringLiteral("NO. DE REMISION:"), head), 4, 0);
    form->addWidget(boxes_.NREMISION, 4, 1);
    form->addWidget(label("Label10", QStringLiteral("FECHA REMISION:"), head), 4, 2);
    form->addWidget(boxes_.FECHAREMI, 4, 3);
    form->addWidget(label("Label8", QStringLiteral("PERIODO REPORTADO:"), head), 5, 0);
    form->addWidget(boxes_.PERIODO, 5, 1, 1, 3);
    form->setColumnStretch(1, 1);
    form->setColumnStretch(3, 1);

    return head;
}

QGroupBox* MainWindow::months_box(QWidget* body) {
    // The months grid with its caption.
    auto* months = new QGroupBox(body);
    auto* months_layout = new QVBoxLayout(months);
    controls_.months_caption =
        label("DBfechasCaption", QStringLiteral(" MESES REPORTADOS"), months);
    controls_.months_caption->setAlignment(Qt::AlignCenter);
    controls_.months_caption->setFrameShape(QFrame::StyledPanel);
    controls_.months_caption->setAutoFillBackground(true);
    controls_.months_caption->setBackgroundRole(QPalette::Button);
    QFont caption_font = controls_.months_caption->font();
    caption_font.setBold(true);
    controls_.months_caption->setFont(caption_font);
    controls_.DBfechas = new QTableWidget(0, 2, months);
    controls_.DBfechas->setObjectName(QStringLiteral("DBfechas"));
    controls_.DBfechas->setHorizontalHeaderLabels({QStringLiteral("Mes"), QStringLiteral("Año")});
    controls_.DBfechas->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    controls_.DBfechas->verticalHeader()->setVisible(false);
    controls_.DBfechas->setEditTriggers(QAbstractItemView::NoEditTriggers);
    controls_.DBfechas->setSelectionBehavior(QAbstractItemView::SelectRows);
    // The grid is only read: Tab passes it by, and leaves it when a click put the focus there.
    controls_.DBfechas->setTabKeyNavigation(false);
    controls_.DBfechas->setFocusPolicy(Qt::ClickFocus);
    months_layout->addWidget(controls_.months_caption);
    months_layout->addWidget(controls_.DBfechas);

    return months;
}

QGroupBox* MainWindow::actions_box(QWidget* body, Buttons& b) {
    // Buttons of the operations, beside the months grid.
    auto* actions = new QGroupBox(body);
    auto* buttons = new QGridLayout(actions);
    b.BLeer = button("BLeer", QStringLiteral("Leer Archivos"), actions);
    b.Cmdgraba = button("Cmdgraba", QStringLiteral("Guardar Registros"), actions);
    b.CmdInforme = button("CmdInforme", QStringLiteral("Informe"), actions);
    b.CmdBorrarRad = button("CmdBorrarRad", QStringLiteral("Borrar Rad."), actions);
    b.CmdLimpiar = button("CmdLimpiar", QStringLiteral("Limpiar DB"), actions);
    b.CmdEAPB = button("CmdEAPB", QStringLiteral("EAPB"), actions);
    b.CmdAnalisis = button("CmdAnalisis", QStringLiteral("Command1"), actions);
    b.Bsalir = button("Bsalir", QStringLiteral("Salir"), actions);
    QPushButton* const order[] = {b.BLeer,   b.Cmdgraba,     b.CmdInforme, b.CmdAnalisis,
                                  b.CmdEAPB, b.CmdBorrarRad, b.CmdLimpiar, b.Bsalir};
    for (int i = 0; i < 8; ++i) {
        order[i]->setMinimumWidth(150);
        buttons->addWidget(order[i], i % 4, i / 4);
    }
    buttons->setRowStretch(4, 1);

    return actions;
}

QHBoxLayout* MainWindow::progress_row(QWidget* body) {
    // Progress of a run.
    controls_.contenido = label("contenido", QString(), body);
    controls_.ProgressBar1 = new QProgressBar(body);
    controls_.ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    controls_.ProgressBar1->setMinimumWidth(320);
    keep_place(controls_.contenido);
    keep_place(controls_.ProgressBar1);
    controls_.contenido->hide();
    controls_.ProgressBar1->hide();
    auto* progress = new QHBoxLayout;
    progress->addWidget(controls_.contenido, 1);
    progress->addWidget(controls_.ProgressBar1);

    return progress;
}

void MainWindow::wire(const Buttons& b) {
    // Tab follows the eye: the pickers, the header boxes row by row, then the buttons column by
    // column; the months grid, which only a click reaches, gives Tab on to the buttons.
    const MainControls& c = controls_;
    tab_order({Drive1_,          Dir1_,
               File1_,           boxes_.COD_EAPB,
               boxes_.NOMEAPB,   boxes_.NOMREMITENTE,
               boxes_.DIRECCION, boxes_.TELEFONO,
               boxes_.NFAX,      boxes_.NREMISION,
               boxes_.FECHAREMI, boxes_.PERIODO,
               c.DBfechas,       b.BLeer,
               b.Cmdgraba,       b.CmdInforme,
               b.CmdAnalisis,    b.CmdEAPB,
               b.CmdBorrarRad,   b.CmdLimpiar,
               b.Bsalir});

    operable_ = {Drive1_,        Dir1_,        File1_,    b.BLeer,       b.Cmdgraba, b.CmdInforme,
                 b.CmdBorrarRad, b.CmdLimpiar, b.CmdEAPB, b.CmdAnalisis, b.Bsalir};

    connect(Drive1_, &QComboBox::currentIndexChanged, this, &MainWindow::Drive1_Change);
    connect(Dir1_, &FolderList::pathChanged, this, &MainWindow::Dir1_Change);
    connect(Dir1_, &FolderList::folderClicked, this, &MainWindow::Dir1_Click);
    connect(File1_, &QListWidget::currentRowChanged, this, &MainWindow::File1_Click);
    connect(b.BLeer, &QPushButton::clicked, this, &MainWindow::BLeer_Click);
    connect(b.Cmdgraba, &QPushButton::clicked, this, &MainWindow::Cmdgraba_Click);
    connect(b.CmdInforme, &QPushButton::clicked, this, &MainWindow::CmdInforme_Click);
    connect(b.CmdBorrarRad, &QPushButton::clicked, this, &MainWindow::CmdBorrarRad_Click);
    connect(b.CmdLimpiar, &QPushButton::clicked, this, &MainWindow::CmdLimpiar_Click);
    connect(b.CmdEAPB, &QPushButton::clicked, this, &MainWindow::CmdEAPB_Click);
    // The analysis button opens the report window too.
    connect(b.CmdAnalisis, &QPushButton::clicked, this, &MainWindow::CmdInforme_Click);
    connect(b.Bsalir, &QPushButton::clicked, this, &MainWindow::Bsalir_Click);
}

void MainWindow::fill_drives() {
    volumes_ = mounted_volumes();
    const QString start = QDir::currentPath();
    // The drive of the starting folder is the volume with the longest root above it.
    int best = -1;
    for (int i = 0; i < static_cast<int>(volumes_.size()); ++i) {
        const QString& root = volumes_[static_cast<size_t>(i)].root;
        bool above = start == root || root == QLatin1String("/") ||
                     start.startsWith(root + QLatin1Char('/'));
        if (above && (best < 0 || root.size() > volumes_[static_cast<size_t>(best)].root.size()))
            best = i;
    }
    {
        QSignalBlocker block(Drive1_);
        for (const Volume& v : volumes_) Drive1_->addItem(v.entry());
        Drive1_->setCurrentIndex(best);
    }
    drive_index_ = best;
    Dir1_->setPath(start);
}

void MainWindow::Form_Load(const std::filesystem::path& config_path) {
    config_path_ = config_path;
    Status started = Status::failed();
    // The window starts in run state "I" with empty boxes; the kept state is only written, for
    // the command line's "save".
    guarded([&] { started = program_->start(config_path); });
    // A start-up that failed skips the rest of start-up, centring included.
    if (!started.ok()) return;
    // On a server the caption names the desk.
    if (!program_->config.server.empty())
        setWindowTitle(windowTitle() + QStringLiteral(" - puesto ") +
                       QString::fromStdString(program_->config.desk));
    centre_on_screen(this);
}

Status MainWindow::drive_ready(const Volume& volume) {
    QStorageInfo info(volume.root);
    const std::string text =
        (volume.root + QStringLiteral(": - ") + drive_type_name(volume.type)).toStdString();
    if (info.isValid() && info.isReady()) return Status::done();
    ui_->message(text + "\r\n" + "La unidad " + volume.root.toStdString() +
                     " no está preparada. Revise en estos momentos por favor...",
                 "", Icon::None);
    QApplication::beep();
    return Status::stopped();
}

void MainWindow::Drive1_Change(int index) {
    if (index < 0 || index >= static_cast<int>(volumes_.size())) return;
    const Volume& volume = volumes_[static_cast<size_t>(index)];
    if (drive_ready(volume).ok()) {
        drive_index_ = index;
        Dir1_->setPath(volume.root);
    } else {
        // Back to the drive the folder list is on.
        QSignalBlocker block(Drive1_);
        Drive1_->setCurrentIndex(drive_index_);
    }
}

void MainWindow::Dir1_Change() {
    show_folder(Dir1_->path());
}

void MainWindow::Dir1_Click() {
    show_folder(Dir1_->path());
}

void MainWindow::show_folder(const QString& folder) {
    file_folder_ = folder;
    QSignalBlocker block(File1_);
    File1_->clear();
    guarded([&] {
        for (const auto& name : list_text_files(folder.toStdString()).names)
            File1_->addItem(QString::fromStdString(name));
    });
}

void MainWindow::File1_Click(int row) {
    if (row < 0) return;
    const std::string name = File1_->item(row)->text().toStdString();
    // Joined as paths, so a file of a root folder gets a single separator.
    const std::string full = (std::filesystem::path(file_folder_.toStdString()) / name).string();
    program_->full_path = full;
    program_->data_file_name = std::string(trim(name));
    ui_->set_status("Archivo Seleccionado " + std::string(trim(full)));
}

void MainWindow::guarded(const std::function<void()>& handler) {
    // Each operation finds its server again after a restart, or says it is still away.
    gui::guarded(*ui_, [&] {
        if (program_->connection_ready().ok()) handler();
    });
}

void MainWindow::exclusive(const std::function<Status()>& operation) {
    if (busy_) return;
    busy_ = true;
    for (QWidget* w : operable_) w->setEnabled(false);
    // As `guarded`: the server found again first, or the operation stops on its message.
    gui::guarded(*ui_, [&] {
        Status ready = program_->connection_ready();
        return ready.ok() ? operation() : ready;
    });
    for (QWidget* w : operable_) w->setEnabled(true);
    busy_ = false;
}

Status MainWindow::databases_ready() {
    if (program_->work) return Status::done();
    std::error_code ec;
    ui_->message_with_hint(
        kNoConfigurationText, kNoConfigurationTitle, Icon::Critical,
        configuration_hint(config_path_, !std::filesystem::exists(config_path_, ec)));
    return Status::stopped();
}

void MainWindow::open_window(QWidget* window) {
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowModality(Qt::ApplicationModal);
    // The size a window asks for is its preferred one, which the screen may shrink.
    fit_to_screen(window, window->size());
    centre_on_screen(window);
    window->show();
}

namespace {
std::string text_of(const QLineEdit* box) {
    return box->text().toStdString();
}
void set_text(QLineEdit* box, const std::string& text) {
    box->setText(QString::fromStdString(text));
}
}  // namespace

const MainWindow::HeaderBox MainWindow::kHeaderBoxes[] = {
    {&HeaderBoxes::COD_EAPB, &DeliveryHeader::ips_code},
    {&HeaderBoxes::NOMEAPB, &DeliveryHeader::ips_name},
    {&HeaderBoxes::NOMREMITENTE, &DeliveryHeader::sender},
    {&HeaderBoxes::DIRECCION, &DeliveryHeader::address},
    {&HeaderBoxes::TELEFONO, &DeliveryHeader::telephone},
    {&HeaderBoxes::NFAX, &DeliveryHeader::fax},
    {&HeaderBoxes::NREMISION, &DeliveryHeader::remission},
    {&HeaderBoxes::FECHAREMI, &DeliveryHeader::remission_date},
    {&HeaderBoxes::PERIODO, &DeliveryHeader::period},
};

void MainWindow::show_header(const DeliveryHeader& h) {
    for (const auto& [box, value] : kHeaderBoxes) set_text(boxes_.*box, h.*value);
}

void MainWindow::take_header() {
    DeliveryHeader& h = program_->delivery.header;
    for (const auto& [box, value] : kHeaderBoxes) h.*value = text_of(boxes_.*box);
}

void MainWindow::BLeer_Click() {
    if (busy_ || !databases_ready().ok()) return;
    exclusive([this] {
        // The kept run state is written under the same hold of the installation as the run.
        OperationScope scope(*program_);
        if (!scope.ok()) return Status::stopped();
        take_header();
        // The errors workbook of the IPS goes beside the error files, and the summary box names
        // it; a run without failing lines removes the one of an earlier run.
        AttachedWorkbook workbook(*program_, keep_errors_workbook);
        Status ran = run_validation(*program_, file_folder_.toStdString());
        program_->store_run_state();
        return ran;
    });
}

void MainWindow::Cmdgraba_Click() {
    if (busy_ || !databases_ready().ok()) return;
    exclusive([this] {
        OperationScope scope(*program_);
        if (!scope.ok()) return Status::stopped();
        take_header();
        Status saved = save_delivery(*program_);
        program_->store_run_state();
        return saved;
    });
}

void MainWindow::CmdInforme_Click() {
    if (busy_ || !databases_ready().ok()) return;
    guarded([this] {
        if (reports_available(*program_).ok())
            open_window(new ReportWindow(*program_, opener_, this));
    });
}

void MainWindow::CmdBorrarRad_Click() {
    if (busy_ || !databases_ready().ok()) return;
    guarded([this] { open_window(new DeletionWindow(*program_, this)); });
}

void MainWindow::CmdLimpiar_Click() {
    if (busy_ || !databases_ready().ok()) return;
    exclusive([this] { return empty_final_tables(*program_); });
}

void MainWindow::CmdEAPB_Click() {
    if (busy_ || !databases_ready().ok()) return;
    guarded([this] { open_window(new EapbWindow(*program_->work, *ui_, this)); });
}

void MainWindow::Bsalir_Click() {
    if (busy_) return;
    bool leave = true;
    if (ready())
        guarded([&] {
            take_header();
            leave = leave_program(*program_);
        });
    if (leave) close();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // A run or a save in progress finishes first.
    if (busy_)
        event->ignore();
    else
        event->accept();
}

}  // namespace corvela::gui
