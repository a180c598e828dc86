// The report window without the window: the deliveries offered, the inconsistency table with its
// labels, and the exported page.
#include <gtest/gtest.h>

#include "reports/delivery_report.h"
#include "support/session.h"

namespace corvela::testing {
namespace {

class ReportTest : public SessionTest {
  protected:
    DeliveryReport report{*program};

    // An error row of a saved delivery with counters C1..C30 = first, first + 1, ...
    void error_row(const std::string& ips, const std::string& tipo, double radicacion,
                   double first) {
        std::string sql =
            "INSERT INTO " + inst.work().saved_errors_table() + " VALUES (?, ?, ?, '000009'";
        for (int i = 0; i < 30; ++i) sql += ", ?";
        Statement st = inst.work().prepare(sql + ")");
        st.bind(1, radicacion);
        st.bind(2, ips);
        st.bind(3, tipo);
        for (int i = 0; i < 30; ++i) st.bind(4 + i, first + i);
        st.exec();
    }

    // A saved file of delivery 000009 of the site.
    void registro(const std::string& archivo, int radicacion) {
        run_sql(inst.work(),
                "INSERT INTO registros (archivo, eapb, nro_remision, nro_radicacion, IMPRESION) "
                "VALUES (?, ?, '000009', ?, 0)",
                archivo, kIps, radicacion);
    }

    // Column c of every item.
    std::vector<std::string> column(size_t c) {
        std::vector<std::string> out;
        for (const auto& item : report.list().items) out.push_back(c < item.size() ? item[c] : "");
        return out;
    }
};

// Deliveries in the order of their remissions, the first one chosen; one marked deleted is neither
// offered nor summarised.
TEST_F(ReportTest, ListsDeliveriesByRemission) {
    saved("000002");
    saved("000001");
    report.load();
    EXPECT_EQ(report.deliveries(), (std::vector<std::string>{"000001/ 2", "000002/ 1"}));
    EXPECT_EQ(report.delivery(), "000001/ 2");
    inst.work().exec("UPDATE registros SET IMPRESION = 1 WHERE nro_radicacion = 2");
    report.select_ips("IPS de prueba");
    EXPECT_EQ(report.deliveries(), std::vector<std::string>{"000002/ 1"});
    report.select_delivery("000001/ 2");
    EXPECT_TRUE(report.show_summary().ok());
    EXPECT_TRUE(report.list().items.empty());
}

TEST_F(ReportTest, SummaryAndItsPage) {
    saved("000001");
    report.load();
    // The summary's rows are checked through the command line's `report summary`; here the page's
    // own settings (the writer itself is checked byte for byte elsewhere).
    ASSERT_TRUE(report.show_summary().ok());
    std::string path = report.export_page().value_or("");
    EXPECT_EQ(path, program->config.database_folder + "reporte.html");
    const std::string page = read_file(path);
    for (const char* part :
         {"<HTML><HEAD></HEAD><BODY  BGCOLOR=#FFFFFF>\r\n<p align=Left><font face=Verdana size=6 "
          "color=#92B6DA>Resultado Validación</font></p><HR><p><font face=Verdana size=2 "
          "color=#000000> ::: Remisión - Radicado: 000001/ 1</font></p><HR>\r\n<TABLE "
          "width=100%  BORDER=0 Bordercolor=#FFFFFF bgcolor=>\r\n<TR bgcolor=#92B6DA> \r\n\r\n "
          "<TH><div align=Center><font size=2 face=Verdana color=#000000>Archivo</font></div></TH>",
          "<TR bgcolor=#FFFFFF > \r\n <td><div align=Left><font color=#000000 size=2 "
          "face=Verdana>&nbsp;&nbsp;US</font></div></td>\r\n <td><div align=Left><font "
          "color=#000000 size=2 face=Verdana>3</font></div></td>",
          "<BR><HR><font face=verdana size=2 color=#92B6DA>Listado generado el dia "
          "06/12/2026</font><P>"})
        EXPECT_NE(page.find(part), std::string::npos) << part;
    // A page asked for elsewhere is written there.
    std::string other = (inst.dir / "informes" / "resumen.html").string();
    EXPECT_EQ(report.export_page(other).value_or(""), other);
    EXPECT_EQ(read_file(other), page);
}

TEST_F(ReportTest, InconsistencyTableLabelsAndCounts) {
    error_row(kIps, "US", 7, 1);
    error_row(kIps, "AD", 7, 100);
    error_row(kIps, "US", 8, 5000);  // another delivery
    registro("US", 7);
    report.load();
    report.select_delivery("000009/ 7");
    ASSERT_TRUE(report.show_inconsistencies().ok());
    EXPECT_EQ(report.title(), "Resumen de inconsistencias por archivo y campo");
    const ListView& lv = report.list();
    EXPECT_EQ(lv.column_headers,
              (std::vector<std::string>{"Usuarios", "Frecuencia", "Agrupada", "Frecuencia"}));
    ASSERT_EQ(lv.items.size(), 30u);
    // Users: 14 fields, fixed labels from counter 21; grouped description: 6 fields, one at 21.
    EXPECT_EQ(lv.items[0], (std::vector<std::string>{"Campo1", "1", "Campo1", "100"}));
    EXPECT_EQ(lv.items[13], (std::vector<std::string>{"Campo14", "14", "", "113"}));
    EXPECT_EQ(lv.items[14], (std::vector<std::string>{"", "15", "", "114"}));
    EXPECT_EQ(lv.items[20], (std::vector<std::string>{"Error estructura de registro", "21",
                                                      "Error estructura de registro", "120"}));
    EXPECT_EQ(column(0)[28], "Validaciones resolución 812/2007");
    EXPECT_EQ(column(2)[21], "");
    // Counter 30 is never shown nor summed: 1 + ... + 29 = 435.
    EXPECT_EQ(lv.items[29],
              (std::vector<std::string>{"Total inconsistencias", "435", "Total inconsistencias",
                                        std::to_string(29 * 100 + 406)}));

    // A type with fewer field definitions moves its fixed labels down.
    inst.ref().exec("DELETE FROM R_Campos WHERE ARCHIVO = 'AD' AND id > 4");
    ASSERT_TRUE(report.show_inconsistencies().ok());
    EXPECT_EQ(column(2)[18], "Error estructura de registro");
    EXPECT_EQ(column(2)[20], "");
    EXPECT_EQ(column(2)[4], "");
}

TEST_F(ReportTest, InconsistencyReportFallsBackToTenCharacterCode) {
    error_row("7600100123", "AD", 3, 1);
    registro("AD", 3);
    report.load();
    report.select_delivery("000009/ 3");
    ASSERT_TRUE(report.show_inconsistencies().ok());
    EXPECT_EQ(report.list().column_headers, (std::vector<std::string>{"Agrupada", "Frecuencia"}));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(ReportTest, InconsistencyReportWithNothingOrTooMuch) {
    registro("US", 4);
    report.load();
    ASSERT_EQ(report.delivery(), "000009/ 4");
    ASSERT_TRUE(report.show_summary().ok());
    const ListView before = report.list();

    EXPECT_FALSE(report.show_inconsistencies().ok());
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text,
              "No existen registros de inconsistencia, para la IPS y la remisión seleccionada");
    EXPECT_EQ(ui.messages[0].title, "Sin información de errores");
    EXPECT_EQ(report.list().items, before.items);

    for (int i = 0; i < 10; ++i) error_row(kIps, "US", 4, 0);
    EXPECT_TRUE(report.show_inconsistencies().ok());
    EXPECT_EQ(report.list().column_headers.size(), 20u);
    error_row(kIps, "AD", 4, 0);
    ui.messages.clear();
    EXPECT_FALSE(report.show_inconsistencies().ok());
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text,
              "Se presento el Error #  9 al generar el archivo de Word \r\rSubíndice fuera del "
              "intervalo");
    EXPECT_EQ(ui.messages[0].title, "Error");
    EXPECT_EQ(report.list().column_headers.size(), 20u);
}

}  // namespace
}  // namespace corvela::testing
