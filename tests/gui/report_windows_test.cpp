// The report window and the delete window over a saved run of the sample delivery: the IPS and
// delivery lists, the two reports in the list view, the HTML export and the deletion.
#include <fstream>
#include <sstream>

#include "desk.h"

namespace corvela::testing {
namespace {

class SavedDeliveryTest : public Desk {
  protected:
    void SetUp() override {
        open();
        run_sample();
        control<QLineEdit>("PERIODO")->setText(QStringLiteral("NOVIEMBRE 2026"));
        save();
        ASSERT_EQ(last_title(), "Final de proceso.");
        ui.messages.clear();
    }
};

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
    auto rows = rows_of(lv1);
    ASSERT_EQ(rows.size(), 10u);
    EXPECT_NE(std::find(rows.begin(), rows.end(), "US|10|5|5|4"), rows.end())
        << ::testing::PrintToString(rows);
    EXPECT_NE(std::find(rows.begin(), rows.end(), "AC|9|6|3|3"), rows.end());

    click("informe_inconsistencias", informe);
    EXPECT_TRUE(ui.messages.empty());
    auto headers = headers_of(lv1);
    ASSERT_EQ(headers.size(), 20u);  // a name and "Frecuencia" for each of the ten files
    EXPECT_EQ(headers[1], "Frecuencia");
    rows = rows_of(lv1);
    ASSERT_EQ(rows.size(), 30u);
    EXPECT_EQ(rows.back().rfind("Total inconsistencias|", 0), 0u) << rows.back();

    // The export writes the page beside the databases and opens it.
    click("cmdExport", informe);
    ASSERT_EQ(opened_pages.size(), 1u);
    EXPECT_EQ(opened_pages[0], window->program().config.database_folder + "reporte.html");
    std::ifstream page(opened_pages[0], std::ios::binary);
    std::stringstream html;
    html << page.rdbuf();
    EXPECT_NE(html.str().find("Resumen de inconsistencias por archivo y campo"), std::string::npos);
    EXPECT_NE(html.str().find(" ::: Remisión - Radicado: 000001/ 1"), std::string::npos);
    EXPECT_NE(html.str().find("Listado generado el dia 06/12/2026"), std::string::npos);

    click("CmdSalir", informe);
    EXPECT_EQ(opened("Frm_informe"), nullptr);
}

TEST_F(SavedDeliveryTest, DeleteWindowDeletesTheChosenDeliveryAfterItsQuestion) {
    click("CmdBorrarRad");
    QWidget* borrar = opened("frmborrar");
    ASSERT_NE(borrar, nullptr);
    EXPECT_EQ(borrar->windowTitle(), QString::fromUtf8("Borrar registros."));
    EXPECT_EQ(items_of(control<QComboBox>("Cmblista", borrar)),
              std::vector<std::string>{"IPS Salud Valle Sede Norte"});
    EXPECT_EQ(items_of(control<QComboBox>("Cmbremision", borrar)),
              std::vector<std::string>{"000001/ 1"});
    auto finals = [&] { return window->program().work->count("SELECT * FROM f_transacciones"); };
    const long long saved = finals();
    ASSERT_GT(saved, 0);

    ui.answers = {false};
    click("CmdBorrar", borrar);
    EXPECT_EQ(ui.questions.back(),
              "Borrar datos almacenados.|Desea borrar los datos almacenados de la radicación "
              "interna No.  1");
    EXPECT_EQ(finals(), saved);

    ui.answers = {true};
    click("CmdBorrar", borrar);
    EXPECT_EQ(last_title(), "Proceso finalizado");
    EXPECT_EQ(last_message(),
              "Fueron borrados los registros almacenados con la radicación interna No.  1");
    EXPECT_EQ(finals(), 0);
    // The deleted delivery leaves the list.
    EXPECT_TRUE(items_of(control<QComboBox>("Cmbremision", borrar)).empty());

    click("CmdSalir", borrar);
    EXPECT_EQ(opened("frmborrar"), nullptr);
    // Nor does the report window find anything left to show for it.
    click("CmdInforme");
    if (QWidget* informe = opened("Frm_informe")) {
        EXPECT_TRUE(items_of(control<QComboBox>("Cmbremision", informe)).empty());
    }
}

}  // namespace
}  // namespace corvela::testing
