// A saved run of the sample delivery: the save from the header boxes, "Limpiar DB", the report
// window (the IPS and delivery lists, the two reports in the list view, the HTML export) and the
// delete window.
#include <QStyle>
#include <QStyleOptionComboBox>

#include "db/statement.h"
#include "desk.h"

namespace corvela::testing {
namespace {

class SavedDeliveryTest : public Desk {
  protected:
    void SetUp() override {
        open();
        run_sample();
        control<QLineEdit>("PERIODO")->setText(QStringLiteral("NOVIEMBRE 2026"));
        click("Cmdgraba");
        ASSERT_EQ(last_title(), "Final de proceso.");
        ui.messages.clear();
    }
};

// The refusals and the texts of a save are checked on the program; here the boxes feed it.
TEST_F(SavedDeliveryTest, TheSaveReadTheHeaderBoxesThenEmptiedThemAndLimpiarDeletes) {
    EXPECT_EQ(window->program().run_state, RunState::Saved);
    Database& work = *window->program().work;
    EXPECT_EQ(work.count("SELECT * FROM registros WHERE periodo_reportado = 'NOVIEMBRE 2026' AND "
                         "nro_radicacion = 1"),
              10);
    EXPECT_EQ(text("COD_EAPB"), QString());
    EXPECT_EQ(text("NOMREMITENTE"), QString());
    EXPECT_EQ(control<QTableWidget>("DBfechas")->rowCount(), 0);

    // "Limpiar DB" asks twice, Enter keeping the data.
    ASSERT_GT(work.count("SELECT * FROM f_usuario"), 0);
    ui.answers = {true, true};
    click("CmdLimpiar");
    EXPECT_EQ(ui.no_defaults, (std::vector<bool>{true, true}));
    EXPECT_EQ(work.count("SELECT * FROM f_usuario"), 0);
}

TEST_F(SavedDeliveryTest, ReportWindowShowsTheSummaryAndTheInconsistencies) {
    click("CmdInforme");
    QWidget* informe = opened("Frm_informe");
    ASSERT_NE(informe, nullptr);
    EXPECT_EQ(informe->windowTitle(), QString::fromUtf8("Resultado validación."));
    EXPECT_EQ(items_of(control<QComboBox>("Cmblista", informe)),
              std::vector<std::string>{"IPS Salud Valle Sede Norte"});
    EXPECT_EQ(items_of(control<QComboBox>("Cmbremision", informe)),
              std::vector<std::string>{"000001/ 1"});

    auto* lv1 = control<QTreeWidget>("Lv1", informe);
    click("generar_informe", informe);
    EXPECT_EQ(headers_of(lv1), (std::vector<std::string>{"Archivo", "Leidos", "Inconsistentes",
                                                         "Pasan_Validacion", "Reg_Correctos"}));
    const auto rows = rows_of(lv1);
    EXPECT_NE(std::find(rows.begin(), rows.end(), "US|10|5|5|4"), rows.end());

    click("informe_inconsistencias", informe);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(headers_of(lv1).size(), 20u);  // a name and "Frecuencia" for each of the ten files
    EXPECT_EQ(rows_of(lv1).size(), 30u);

    // The export writes the page beside the databases and opens it.
    click("cmdExport", informe);
    ASSERT_EQ(opened_pages.size(), 1u);
    EXPECT_EQ(opened_pages[0], window->program().config.database_folder + "reporte.html");
    EXPECT_NE(read_file(opened_pages[0]).find("Resumen de inconsistencias por archivo y campo"),
              std::string::npos);

    // "Exportar a Excel" saves the list shown where the operator chooses.
    const std::string book = (inst.dir / "informe").string();
    ui.choices = {book};
    click("cmdExcel", informe);
    ASSERT_FALSE(ui.dialogs.empty());
    EXPECT_EQ(ui.dialogs.back(),
              (OpenedDialog{"save", "Exportar a Excel", "", {{"Libro de Excel", "*.xlsx"}}, 1}));
    EXPECT_TRUE(std::filesystem::exists(book + ".xlsx"));
    EXPECT_EQ(last_message(), "El libro se guardó en " + book + ".xlsx.");

    press(Qt::Key_Escape);  // as "Regresar" does
    EXPECT_EQ(opened("Frm_informe"), nullptr);
}

// Where the page was written but no program showed it, "Exportar" says where it is and why, in
// Spanish whatever the desktop reported.
TEST_F(SavedDeliveryTest, ExportSaysWhereThePageIsWhenItCannotBeOpened) {
    window->setOpener([](const std::string&) {
        qWarning("Unable to detect a launcher");
        return false;
    });
    click("CmdInforme");
    QWidget* informe = opened("Frm_informe");
    ASSERT_NE(informe, nullptr);
    click("generar_informe", informe);
    click("cmdExport", informe);
    EXPECT_EQ(last_title() + "|" + last_message(),
              "Exportar|La página se guardó en " + window->program().config.database_folder +
                  "reporte.html.\rNo hay un programa para abrir páginas web en este equipo.");
    EXPECT_EQ(ui.messages.back().icon, Icon::Information);
}

// The question's and the message's texts are checked on the program; here the window runs them.
TEST_F(SavedDeliveryTest, DeleteWindowDeletesTheChosenDeliveryAfterItsQuestion) {
    click("CmdBorrarRad");
    QWidget* borrar = opened("frmborrar");
    ASSERT_NE(borrar, nullptr);
    EXPECT_EQ(items_of(control<QComboBox>("Cmbremision", borrar)),
              std::vector<std::string>{"000001/ 1"});
    Database& work = *window->program().work;
    ASSERT_GT(work.count("SELECT * FROM f_transacciones"), 0);

    ui.answers = {true};
    click("CmdBorrar", borrar);
    EXPECT_EQ(ui.questions.size(), 1u);
    EXPECT_EQ(ui.no_defaults, std::vector<bool>{true});
    EXPECT_EQ(last_title(), "Proceso finalizado");
    EXPECT_EQ(work.count("SELECT * FROM f_transacciones"), 0);
    // The deleted delivery leaves the list.
    EXPECT_TRUE(items_of(control<QComboBox>("Cmbremision", borrar)).empty());
    control<QWidget>("CmdSalir", borrar)->setFocus();
    press(Qt::Key_Return);
    EXPECT_EQ(opened("frmborrar"), nullptr);
}

// At 1024x768 every window, filled as after a day's work, lies on the screen with the room it
// needs; the EAPB window, opened on an empty registry, shows the longest department and
// municipality names whole.
TEST_F(SavedDeliveryTest, EveryWindowFitsTheScreenAndShowsItsNamesWhole) {
    expect_fits(window.get());
    click("CmdInforme");
    click("informe_inconsistencias", opened("Frm_informe"));
    expect_fits(opened("Frm_informe"));
    click("CmdSalir", opened("Frm_informe"));
    click("CmdBorrarRad");
    expect_fits(opened("frmborrar"));
    click("CmdSalir", opened("frmborrar"));
    click("CmdEAPB");
    QWidget* frm = opened("frmIPS");
    expect_fits(frm);
    for (const auto& [box, table] :
         {std::pair{"CmbDepto", "departamentos"}, {"CmbMuni", "municipios"}}) {
        auto* combo = control<QComboBox>(box, frm);
        QStyleOptionComboBox option;
        option.initFrom(combo);
        // The box draws its text a pixel in from each side of its field.
        const int room =
            combo->style()
                ->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo)
                .width() -
            2;
        Statement names =
            window->program().work->prepare(std::string("SELECT nombre FROM ") + table);
        while (names.step())
            EXPECT_LE(combo->fontMetrics().horizontalAdvance(QString::fromStdString(names.text(0))),
                      room)
                << names.text(0);
    }
}

}  // namespace
}  // namespace corvela::testing
