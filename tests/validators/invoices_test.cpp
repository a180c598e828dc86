#include "validators/invoices.h"

#include "support/validator_test.h"

namespace corvela::testing {
namespace {

// An invoice line with the three dates and the last three amounts given.
std::string invoice(const std::string& dates, const std::string& amounts = ",,150000") {
    return "760010012301,IPS PRUEBA,NI,890123456,F001," + dates + ",EPS005,EPS PRUEBA,,,,0," +
           amounts;
}

struct InvoicesTest : ValidatorTest<InvoicesValidator> {
    InvoicesTest() : ValidatorTest("AF000001.TXT") {}
};

TEST_F(InvoicesTest, DateOrderTextsJoinedWithoutSeparator) {
    auto counts = run({
        invoice("01/11/2026,01/10/2026,31/10/2026", ",2.5,150000"),
        invoice("02/11/2026,03/11/2026,02/11/2026"),
        // Not a date: no order rule at all.
        invoice("xx,03/11/2026,02/11/2026"),
        // Written with 9 characters: the format fails but the value is a date, so it is ordered.
        invoice("2/11/2026,03/11/2026,30/11/2026"),
        // Issued on its period's first day.
        invoice("01/10/2026,01/10/2026,31/10/2026"),
    });
    EXPECT_EQ(counts.lines_passed, 2);
    EXPECT_EQ(errors(),
              crlf({invoice("02/11/2026,03/11/2026,02/11/2026") +
                        " / linea  2 Error de Fecha expedición < Fecha de InicioFecha expedición > "
                        "Fecha de remisiónFecha Inicial > Fecha Final",
                    invoice("xx,03/11/2026,02/11/2026") +
                        " / linea  3 Error de Campo6 Fecha sin formato correcto",
                    invoice("2/11/2026,03/11/2026,30/11/2026") +
                        " / linea  4 Error de Campo6 Fecha sin formato correctoFecha expedición < "
                        "Fecha de InicioFecha expedición > Fecha de remisión"}));
    EXPECT_EQ(counters({23, 24, 25, 6}), (std::vector<int>{2, 2, 1, 2}));
    EXPECT_EQ(rows("SELECT fecha_expedicion, fecha_final, num_contrato, valor_copago, "
                   "valor_comision, valor_descuento, valor_neto FROM transacciones ORDER BY rowid"),
              (std::vector<std::string>{"2026-11-01|2026-10-31|null|0|0|2.5|150000",
                                        "2026-10-01|2026-10-31|null|0|0|0|150000"}));
}

TEST_F(InvoicesTest, FieldTexts) {
    run({
        invoice("01/11/2026,01/10/2026,31/10/2026", ",, "),
        "760010012301,,CC,12,F001,01/11/2026,01/10/2026,31/10/2026,,,,,,x,a,,1",
        "760010012302,IPS,CC,1A,,01/11/2026,01/10/2026,31/10/2026,EPS005,EPS,,,,,,,1",
    });
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
    EXPECT_EQ(counters({22}), std::vector<int>{1});
}

}  // namespace
}  // namespace corvela::testing
