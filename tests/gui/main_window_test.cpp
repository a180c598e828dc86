// The main window: start-up, the pickers, a whole run of the sample delivery from picking its
// folder to the summary and the months grid, what leaving and a failed start do, and the
// desktop's dialogs.
#include <QFileDialog>
#include <QListWidget>
#include <QProgressBar>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <fstream>
#include <functional>

#include "desk.h"
#include "gui/identity.h"
#include "gui/placement.h"

namespace corvela::testing {
namespace {

const char* const kSummary =
    "Leidos:  70\rPasaron: 28\rErrados: 42\r\r"
    "Tiempo de proceso: ";
using MainWindowTest = Desk;

// Whether start-up put the window's frame in the middle of the screen's work area.
bool centred(const QWidget& w) {
    const QPoint off = w.frameGeometry().center() - w.screen()->availableGeometry().center();
    return std::abs(off.x()) <= 3 && std::abs(off.y()) <= 3;
}

TEST_F(MainWindowTest, ShowsItsCaptionsAndHasNoReportBeforeASave) {
    open();
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(window->windowTitle(), QString::fromUtf8(" Validación de archivos planos de RIPS."));
    EXPECT_FALSE(control<QWidget>("ProgressBar1")->isVisible());
    EXPECT_FALSE(control<QWidget>("contenido")->isVisible());
    EXPECT_EQ(window->program().run_state, RunState::Initial);
    EXPECT_TRUE(centred(*window));
    expect_fits(window.get());
    EXPECT_GT(control<QComboBox>("Drive1")->count(), 0);
    // The project's icon, on the window and as its logo.
    const QImage icon = gui::corvela_icon().pixmap(40, 40).toImage();
    ASSERT_FALSE(icon.isNull());
    EXPECT_EQ(window->windowIcon().pixmap(40, 40).toImage(), icon);
    EXPECT_EQ(control<QLabel>("Image1")->pixmap().toImage(), icon);
    click("CmdInforme");
    EXPECT_EQ(last_title(), "Sin registros.");
    EXPECT_EQ(opened("Frm_informe"), nullptr);
}

TEST_F(MainWindowTest, PickingAFileListsTheTextFilesAndShowsItsPath) {
    open();
    std::filesystem::create_directory(inst.delivery / "sub");
    std::ofstream(inst.delivery / "notas.doc") << "x";
    std::ofstream(inst.delivery / "leame.TXT") << "x";
    pick_folder(inst.delivery);
    auto* file1 = control<QListWidget>("File1");
    std::vector<std::string> names;
    for (int i = 0; i < file1->count(); ++i) names.push_back(file1->item(i)->text().toStdString());
    EXPECT_EQ(names.size(), 12u);  // the eleven files of the delivery and leame.TXT
    EXPECT_EQ(names.front(), "AC000001.txt");
    EXPECT_EQ(std::count(names.begin(), names.end(), "leame.TXT"), 1);
    EXPECT_EQ(std::count(names.begin(), names.end(), "notas.doc"), 0);

    pick_file(QStringLiteral("US000001.txt"));
    EXPECT_EQ(control<QLabel>("contenido")->text().toStdString(),
              "Archivo Seleccionado " + (inst.delivery / "US000001.txt").string());
    EXPECT_EQ(window->program().full_path, (inst.delivery / "US000001.txt").string());
    EXPECT_FALSE(control<QWidget>("contenido")->isVisible());
}

TEST_F(MainWindowTest, ARunShowsItsProgressThenTheSummaryAndTheMonths) {
    open();
    pick_folder(inst.delivery);
    // What the operator sees while the run repaints the window between lines.
    bool seen = false, progress_shown = false, buttons_off = false;
    QString status;
    QTimer::singleShot(0, window.get(), [&] {
        seen = true;
        progress_shown = control<QWidget>("ProgressBar1")->isVisible();
        status = control<QLabel>("contenido")->text();
        buttons_off = !control<QWidget>("BLeer")->isEnabled() &&
                      !control<QWidget>("Cmdgraba")->isEnabled() &&
                      !control<QWidget>("Dir1")->isEnabled();
        // A second press during the run starts nothing.
        control<QAbstractButton>("BLeer")->click();
    });
    click("BLeer");

    ASSERT_TRUE(seen);
    EXPECT_TRUE(progress_shown);
    EXPECT_TRUE(status.startsWith(QStringLiteral("Archivo en proceso: "))) << status.toStdString();
    EXPECT_TRUE(buttons_off);

    EXPECT_EQ(ui.titles(), (std::vector<std::string>{"Resultado validación", "Atención",
                                                     "Resumén de la validación."}));
    EXPECT_EQ(last_message().rfind(kSummary, 0), 0u) << last_message();
    // The errors workbook of the IPS is beside the error files, named in the box's details.
    const std::string book = inst.results() + "760010012301_errores.xlsx";
    EXPECT_TRUE(ui.messages.back().hint.ends_with("\nLibro de errores: " + book + "."));
    EXPECT_TRUE(std::filesystem::exists(book));

    EXPECT_FALSE(control<QWidget>("ProgressBar1")->isVisible());
    EXPECT_FALSE(control<QWidget>("contenido")->isVisible());
    EXPECT_TRUE(control<QWidget>("BLeer")->isEnabled());
    EXPECT_EQ(text("COD_EAPB").toStdString(), "760010012301");
    EXPECT_EQ(text("NOMEAPB"), QString::fromUtf8("IPS Salud Valle Sede Norte"));
    EXPECT_EQ(text("NOMREMITENTE"), QString::fromUtf8("MARÍA FERNANDA RÍOS"));
    EXPECT_EQ(text("NREMISION").toStdString(), "000001");

    auto* grid = control<QTableWidget>("DBfechas");
    ASSERT_EQ(grid->rowCount(), 2);
    for (int r : {0, 1})
        EXPECT_EQ(grid->item(r, 0)->text() + "/" + grid->item(r, 1)->text(),
                  r ? QStringLiteral("12/2026") : QStringLiteral("11/2026"));
    EXPECT_EQ(window->program().run_state, RunState::NotSaved);
}

TEST_F(MainWindowTest, ARunWithoutFailingLinesRemovesTheErrorsWorkbookOfItsIps) {
    open();
    const std::string book = inst.results() + "760010012301_errores.xlsx";
    std::filesystem::create_directories(inst.results());
    std::ofstream(book) << "de una validación anterior";
    const std::filesystem::path folder = inst.dir / "sin_errores";
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "CT000001.txt") << "760010012301,01/11/2026,US000001,1\r\n";
    std::ofstream(folder / "US000001.txt")
        << "CC,16789012,EPS005,1,GOMEZ,PEREZ,CARLOS,ANDRES,45,1,M,76,001,U\r\n";
    pick_folder(folder);
    click("BLeer");
    ASSERT_EQ(last_title(), "Resumén de la validación.");
    EXPECT_EQ(last_message().rfind("Leidos:  1\rPasaron: 1\r", 0), 0u) << last_message();
    EXPECT_EQ(ui.messages.back().hint, "");
    EXPECT_FALSE(std::filesystem::exists(book));
}

// "Salir" asks before it empties the working tables of a run not saved, No by default; closing
// the window keeps them and asks nothing; "Existe Información." keeps Sí as its default.
TEST_F(MainWindowTest, SalirAsksBeforeEmptyingAnUnsavedRunAndClosingKeepsIt) {
    open();
    run_sample();
    auto users = [&] { return window->program().work->count("SELECT * FROM usuario"); };
    const long long before = users();
    ASSERT_GT(before, 0);
    ui.answers = {true};
    click("BLeer");
    ui.answers = {false};
    click("Bsalir");
    EXPECT_EQ(ui.questions.back(), "|Hay una validación sin guardar. ¿Desea salir de todos modos?");
    EXPECT_EQ(ui.no_defaults, (std::vector<bool>{false, true}));
    EXPECT_TRUE(window->isVisible());
    window->close();
    EXPECT_EQ(ui.questions.size(), 2u);
    window.reset();
    open();
    EXPECT_EQ(users(), before);
    click("Bsalir");  // run state "I": nothing to ask
    EXPECT_EQ(ui.questions.size(), 2u);
    EXPECT_FALSE(window->isVisible());
    window.reset();
    open();
    EXPECT_EQ(users(), 0);
}

// A folder with no text files has no control file: the run says so and reads nothing, also not
// the file the last run took from another folder.
TEST_F(MainWindowTest, AnEmptyFolderReadsNothingOfAnotherFolder) {
    open();
    run_sample();
    const std::filesystem::path empty = inst.dir / "vacia";
    std::filesystem::create_directory(empty);
    pick_folder(empty);
    ui.messages.clear();
    ui.answers = {false};
    click("BLeer");
    EXPECT_EQ(ui.titles(), (std::vector<std::string>{"No existe Archivo.", "Atención"}));
    EXPECT_EQ(ui.messages.front().text, "No existe archivos de Control, por favor verificar.");
}

// Tab goes through the controls as the eye does and leaves the months grid; Enter presses the
// button that has the focus.
TEST_F(MainWindowTest, TabFollowsTheWindowAndEnterPressesAButton) {
    open();
    run_sample();
    const std::vector<std::string> chain = {
        "Drive1",     "Dir1",     "File1",      "COD_EAPB",    "NOMEAPB",   "NOMREMITENTE",
        "DIRECCION",  "TELEFONO", "NFAX",       "NREMISION",   "FECHAREMI", "PERIODO",
        "BLeer",      "Cmdgraba", "CmdInforme", "CmdAnalisis", "CmdEAPB",   "CmdBorrarRad",
        "CmdLimpiar", "Bsalir",   "Drive1"};
    EXPECT_EQ(tabbing_from(control<QWidget>("Drive1"), chain.size()), chain);

    auto* grid = control<QTableWidget>("DBfechas");
    ASSERT_GT(grid->rowCount(), 1);
    grid->setFocus(Qt::MouseFocusReason);  // a click in the grid
    ASSERT_EQ(focused(), "DBfechas");
    press(Qt::Key_Tab);
    EXPECT_EQ(focused(), "BLeer");

    control<QWidget>("CmdInforme")->setFocus();
    ui.messages.clear();
    press(Qt::Key_Return);
    EXPECT_EQ(last_title(), "Sin registros.");
}

// The start-up message names the configuration file and how to create it; each button that needs
// the databases says that a configuration is missing.
TEST_F(MainWindowTest, AFailedStartUpIsShownAndLeavesAHarmlessWindow) {
    const std::string config = (inst.dir / "missing.ini").string();
    open(config);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(last_title(), "Error");
    const std::string hint = "Archivo de configuración: " + config +
                             ". No existe: créelo con «corvela init CARPETA --config " + config +
                             "», donde CARPETA es la carpeta de las bases de datos.";
    EXPECT_EQ(ui.messages.back().hint, hint);
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(centred(*window));  // the rest of start-up was skipped
    for (const char* b : {"BLeer", "Cmdgraba", "CmdInforme", "CmdBorrarRad", "CmdLimpiar",
                          "CmdEAPB", "CmdAnalisis"}) {
        SCOPED_TRACE(b);
        ui.messages.clear();
        click(b);
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(last_title() + "|" + last_message() + "|" + ui.messages[0].hint,
                  "Falta la configuración.|No hay una configuración que Corvela pueda usar: cree "
                  "una con «corvela init CARPETA» y abra Corvela de nuevo.|" +
                      hint);
        EXPECT_EQ(ui.messages[0].icon, Icon::Critical);
    }
    EXPECT_TRUE(ui.questions.empty());
    EXPECT_EQ(opened("Frm_informe"), nullptr);
    EXPECT_EQ(opened("frmIPS"), nullptr);
    click("Bsalir");
    EXPECT_FALSE(window->isVisible());
}

TEST_F(MainWindowTest, ARunWaitsForAnotherProgramChangingTheDatabase) {
    open();
    pick_folder(inst.delivery);
    {
        OperationLock other(window->program().config.database_folder + "registros_ips.lock");
        ASSERT_TRUE(other.held());
        click("BLeer");
        EXPECT_EQ(ui.titles(), std::vector<std::string>{kBusyTitle});
        EXPECT_EQ(window->program().run_state, RunState::Initial);
        EXPECT_TRUE(control<QWidget>("BLeer")->isEnabled());
    }
    click("BLeer");
    EXPECT_EQ(last_title(), "Resumén de la validación.");
}

// Below a panel, a 1024x720 work area: a window that asks for more is shrunk into it, frame
// included; a smaller one is centred.
TEST(Placement, FitsTheWindowAndItsFrameInTheWorkArea) {
    const QRect area(0, 48, 1024, 720);
    const QMargins frame(4, 30, 4, 4);
    EXPECT_EQ(gui::fitted(area, {1100, 800}, frame), QRect(0, 48, 1024, 720));
    EXPECT_EQ(gui::fitted(area, {400, 300}, frame), QRect(308, 241, 408, 334));
}

TEST(MessageText, LineBreaksAndTheDefaultTitle) {
    EXPECT_EQ(gui::display_text("a\rb\r\nc\r\rd").toStdString(), "a\nb\nc\n\nd");
    EXPECT_EQ(gui::display_title("").toStdString(), "Corvela");
    EXPECT_EQ(gui::display_title("Atención").toStdString(), "Atención");
}

// Acts on the next modal dialog once it is shown.
void on_next_dialog(std::function<void(QWidget*)> act) {
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        if (QWidget* shown = QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            act(shown);
        }
    });
    timer->start(10);
}

TEST(QtDialogsTest, AFileChoiceOffersItsFiltersAsTheCoreDescribesThem) {
    gui::QtDialogs dialogs;
    QStringList filters;
    QString offered;
    on_next_dialog([&](QWidget* shown) {
        auto* files = qobject_cast<QFileDialog*>(shown);
        ASSERT_NE(files, nullptr) << (shown->close(), "no file dialog");
        filters = files->nameFilters();
        offered = files->selectedNameFilter();
        files->reject();
    });
    EXPECT_EQ(dialogs.choose_save_file({{"Páginas", "*.htm;*.html"}, {"Todos", "*.*"}}, "", 2), "");
    EXPECT_EQ(filters, QStringList({QString::fromUtf8("Páginas (*.htm *.html)"), "Todos (*.*)"}));
    EXPECT_EQ(offered, QStringLiteral("Todos"));  // shown as the caller describes it
}

}  // namespace
}  // namespace corvela::testing
