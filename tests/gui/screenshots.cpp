// Pictures of the four windows and of the summary box after a run of the sample delivery, written
// into the build folder (screenshots/*.png) for the documentation and for looking at the layout,
// and pictures of the whole 1024x768 screen with the main, report and EAPB windows where they
// open (*_1024x768.png; window frames aside). Run by the `screenshots` target, not by CTest; it
// drives the windows with the window tests' fixture and fails when a picture cannot be written.
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <algorithm>

#include "desk.h"
#include "gui/boxes.h"

namespace corvela::testing {
namespace {

void save(const QPixmap& pixmap, const std::string& name) {
    const std::filesystem::path folder = CORVELA_SCREENSHOT_DIR;
    std::filesystem::create_directories(folder);
    const QString path = QString::fromStdString((folder / (name + ".png")).string());
    EXPECT_TRUE(pixmap.save(path)) << path.toStdString();
}

void picture(QWidget* w, const char* name) {
    ASSERT_NE(w, nullptr) << name;
    w->show();
    QCoreApplication::processEvents();
    save(w->grab(), name);
}

// The screen with every window shown on it at its place, the main window below the others.
void screen_picture(const char* name) {
    QCoreApplication::processEvents();
    const QScreen* screen = QGuiApplication::primaryScreen();
    QPixmap shot(screen->geometry().size());
    shot.fill(QColor(0x2e, 0x3b, 0x4e));
    QWidgetList windows;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->windowType() == Qt::Window) windows << w;
    std::stable_sort(windows.begin(), windows.end(), [](const QWidget* a, const QWidget* b) {
        return !a->parentWidget() && b->parentWidget();
    });
    QPainter painter(&shot);
    for (QWidget* w : windows) painter.drawPixmap(w->geometry().topLeft(), w->grab());
    painter.end();
    save(shot, std::string(name) + "_1024x768");
}

using Screenshots = Desk;

TEST_F(Screenshots, OfEveryWindowAfterASampleRun) {
    open();
    // A saved delivery for the report and delete windows, then a second run left on screen.
    run_sample();
    control<QLineEdit>("PERIODO")->setText(QStringLiteral("NOVIEMBRE 2026"));
    click("Cmdgraba");
    window->program().work->exec(
        "INSERT INTO gerentes VALUES ('EPS005', 'Ana Ruiz', 'Cra 1 # 2-3', '6015550001', "
        "'6015550000', '76', '001')");
    // The window as it repaints during the run, and after it.
    ui.answers = {false};
    QTimer::singleShot(0, window.get(), [&] { picture(window.get(), "total_en_proceso"); });
    click("BLeer");
    pick_file(QStringLiteral("US000001.txt"));
    picture(window.get(), "total");
    screen_picture("total");
    // The summary box of that run, built as the program shows it, with its hint.
    ASSERT_EQ(last_title(), "Resumén de la validación.");
    picture(
        gui::message_box(last_message(), last_title(), Icon::Information, ui.messages.back().hint)
            .get(),
        "resumen");

    click("CmdInforme");
    QWidget* informe = opened("Frm_informe");
    ASSERT_NE(informe, nullptr);
    click("generar_informe", informe);
    picture(informe, "Frm_informe");
    click("informe_inconsistencias", informe);
    picture(informe, "Frm_informe_inconsistencias");
    screen_picture("Frm_informe");
    click("CmdSalir", informe);

    click("CmdBorrarRad");
    picture(opened("frmborrar"), "frmborrar");
    click("CmdSalir", opened("frmborrar"));

    click("CmdEAPB");
    picture(opened("frmIPS"), "frmIPS");
    screen_picture("frmIPS");
    click("cmdCerrar", opened("frmIPS"));
}

}  // namespace
}  // namespace corvela::testing
