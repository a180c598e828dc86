#include "validators/descripcion.h"

#include <gtest/gtest.h>

#include "support/installation.h"

namespace corvela {
namespace {

using testing::crlf;

TEST(GroupedDescription, FieldRulesAndStoredRows) {
    testing::Installation inst;
    testing::ScriptedUi ui;
    testing::FixedClock clock{{2026, 12, 6}};
    inst.write("AD000001.TXT", crlf({"F1,760010012301,01,2,,700", "F1,760010012301,02,3,100",
                                     "F2,760010012301,99,,abc,x", "F3,760010012302,01,1,1,1,1"}));
    auto ctx = inst.context(ui, clock, "AD000001.TXT");
    ADescripcion v;
    auto counts = leer_archivo(*ctx, v, inst.delivery / "AD000001.TXT");
    EXPECT_EQ(counts.lineas_leidas, 4);
    EXPECT_EQ(counts.lineas_validas, 1);
    EXPECT_EQ(
        inst.result("760010012301_AD000001.ERR"),
        crlf({"F1,760010012301,02,3,100 / linea  2 Error de Campo6: No es es numerico",
              "F2,760010012301,99,,abc,x / linea  3 Error de Campo3: No esta definido en los "
              "parametros, Campo4 : No es es numerico, Campo5 : Campo sin contenido, Campo6 : "
              "No es es numerico",
              "F3,760010012302,01,1,1,1,1 / linea  4 Error de Estructura: Tiene un numero "
              "mayor de campos"}));
    SQLite::Statement st(inst.work().db(),
                         "SELECT cantidad, valor_unitario, valor_total FROM descripcion");
    ASSERT_TRUE(st.executeStep());
    EXPECT_EQ(st.getColumn(0).getDouble(), 2);
    EXPECT_EQ(st.getColumn(1).getDouble(), 0);
    EXPECT_EQ(st.getColumn(2).getDouble(), 700);
}

}  // namespace
}  // namespace corvela
