#include "validators/transacciones.h"

#include <gtest/gtest.h>

#include "support/installation.h"

namespace corvela {
namespace {

using testing::crlf;

struct Transactions : ::testing::Test {
    testing::Installation inst;
    testing::ScriptedUi ui;
    testing::FixedClock clock{{2026, 12, 6}};

    FileCounts run(const std::string& bytes) {
        inst.write("AF000001.TXT", bytes);
        auto ctx = inst.context(ui, clock, "AF000001.TXT");
        ATransacciones v;
        return leer_archivo(*ctx, v, inst.delivery / "AF000001.TXT");
    }
    std::string errors() { return inst.result(std::string(testing::kIps) + "_AF000001.ERR"); }
    int counter(int c) {
        SQLite::Statement st(inst.work().db(), "SELECT C" + std::to_string(c) + " FROM ERRORES");
        return st.executeStep() ? st.getColumn(0).getInt() : -1;
    }
    // An invoice line with the three dates and the last three amounts given.
    static std::string invoice(const std::string& dates, const std::string& amounts = ",,150000") {
        return "760010012301,IPS PRUEBA,NI,890123456,F001," + dates + ",EPS005,EPS PRUEBA,,,,0," +
               amounts;
    }
};

TEST_F(Transactions, DateOrderTextsJoinedWithoutSeparator) {
    auto counts = run(crlf({
        invoice("01/11/2026,01/10/2026,31/10/2026"),
        invoice("02/11/2026,03/11/2026,02/11/2026"),
        // Not a date: no order rule at all.
        invoice("xx,03/11/2026,02/11/2026"),
        // Written with 9 characters: the format fails but the value is a date, so it is ordered.
        invoice("2/11/2026,03/11/2026,30/11/2026"),
    }));
    EXPECT_EQ(counts.lineas_validas, 1);
    EXPECT_EQ(errors(),
              crlf({invoice("02/11/2026,03/11/2026,02/11/2026") +
                        " / linea  2 Error de Fecha expedición < Fecha de InicioFecha expedición > "
                        "Fecha de remisiónFecha Inicial > Fecha Final",
                    invoice("xx,03/11/2026,02/11/2026") +
                        " / linea  3 Error de Campo6 Fecha sin formato correcto",
                    invoice("2/11/2026,03/11/2026,30/11/2026") +
                        " / linea  4 Error de Campo6 Fecha sin formato correctoFecha expedición < "
                        "Fecha de InicioFecha expedición > Fecha de remisión"}));
    EXPECT_EQ(counter(23), 2);
    EXPECT_EQ(counter(24), 2);
    EXPECT_EQ(counter(25), 1);
    EXPECT_EQ(counter(6), 2);
}

TEST_F(Transactions, FieldTexts) {
    run(crlf({
        invoice("01/11/2026,01/10/2026,31/10/2026", ",, "),
        "760010012301,,CC,12,F001,01/11/2026,01/10/2026,31/10/2026,,,,,,x,a,,1",
        "760010012302,IPS,CC,1A,,01/11/2026,01/10/2026,31/10/2026,EPS005,EPS,,,,,,,1",
    }));
    EXPECT_EQ(
        errors(),
        crlf({invoice("01/11/2026,01/10/2026,31/10/2026", ",,") +
                  " / linea  1 Error de Campo17: Contenido no es numerico",
              "760010012301,,CC,12,F001,01/11/2026,01/10/2026,31/10/2026,,,,,,x,a,,1 / linea  2 "
              "Error de Campo2: Sin nombre de IPS La longitud del No. de documento no corresponde "
              "a una Cedula.\", Campo9 : Sin numero de factura, Campo10 : Sin nombre de EPS, "
              "Campo14 : Contenido no es numerico, Campo15 : Contenido no es numerico",
              "760010012302,IPS,CC,1A,,01/11/2026,01/10/2026,31/10/2026,EPS005,EPS,,,,,,,1 / linea "
              " 3 Error de Campo1: Codigo de IPS no corresponde al definico en el archivo de "
              "control La longitud del No. de documento no corresponde a una Cedula.\", Campo4  "
              "contenido debe ser numerico, Campo5 : Sin numero de factura, Numero de "
              "Identificación es tipo cedula y no es numerico"}));
    EXPECT_EQ(counter(22), 1);
}

TEST_F(Transactions, StoredRow) {
    run(crlf({invoice("01/11/2026,01/10/2026,31/10/2026", ",2.5,150000")}));
    SQLite::Statement st(inst.work().db(),
                         "SELECT fecha_expedicion, fecha_final, num_contrato, valor_copago, "
                         "valor_comision, valor_descuento, valor_neto FROM transacciones");
    ASSERT_TRUE(st.executeStep());
    EXPECT_EQ(st.getColumn(0).getString(), "2026-11-01");
    EXPECT_EQ(st.getColumn(1).getString(), "2026-10-31");
    EXPECT_TRUE(st.getColumn(2).isNull());
    EXPECT_EQ(st.getColumn(3).getDouble(), 0);
    EXPECT_EQ(st.getColumn(4).getDouble(), 0);
    EXPECT_EQ(st.getColumn(5).getDouble(), 2.5);
    EXPECT_EQ(st.getColumn(6).getDouble(), 150000);
}

}  // namespace
}  // namespace corvela
