#include "validators/procedimientos.h"

#include <gtest/gtest.h>

#include "support/installation.h"

namespace corvela {
namespace {

using testing::crlf;

constexpr const char* kSinUsuario =
    "No se relaciona con un usuario: el registro de usuario no existe o no paso la validación";

struct Procedures : ::testing::Test {
    testing::Installation inst;
    testing::ScriptedUi ui;
    testing::FixedClock clock{{2026, 12, 6}};

    Procedures() {
        inst.add_cups("735300", "AP", "F", "412", "450");
        inst.add_cups("871121", "AP", "A", "0", "0");
        inst.add_cie10("O800", "F", "412", "450");
        inst.add_cie10("N390", "A", "0", "0");
    }
    FileCounts run(const std::string& bytes) {
        inst.write("AP000001.TXT", bytes);
        auto ctx = inst.context(ui, clock, "AP000001.TXT");
        ctx->users.add("CC", "123", UserData{"1", 30, "F"});
        ctx->users.add("CC", "456", UserData{"1", 40, "M"});
        AProcedimientos v;
        return leer_archivo(*ctx, v, inst.delivery / "AP000001.TXT");
    }
    std::string errors() { return inst.result(std::string(testing::kIps) + "_AP000001.ERR"); }
    int counter(int c) {
        SQLite::Statement st(inst.work().db(), "SELECT C" + std::to_string(c) + " FROM ERRORES");
        return st.executeStep() ? st.getColumn(0).getInt() : -1;
    }
};

TEST_F(Procedures, ErrorFileLines) {
    auto counts = run(crlf({
        "F1,760010012301,cc,123,01/11/2026,,735300,1,1,,O800,,,,50000",
        // Leading zeros: the user test runs on the number as written and finds nobody; the bad
        // date and procedure of the line are not reported.
        "F2,760010012301,CC,00123,xx,,999999,1,1,,O800,,,,1",
        ",760010012301,CC,123,01/11/2026,,871121,4,1,,N3900,,,,1",
        // Procedure for women on a man: its error, and no diagnosis sex check.
        "F4,760010012301,CC,456,01/11/2026,,735300,1,1,,O800,,,,1",
        // No principal diagnosis: the man passes although the last diagnosis found is for women.
        "F5,760010012301,CC,456,01/11/2026,,871121,1,1,,,,,,1",
        "F6,760010012301,CC,456,01/11/2026,,871121,1,1,,O800,,,,1",
        "F7,760010012301,CC,123,01/11/2026,,871121,1,1,,Z999,,,,1",
        "F8,760010012301,CC,123456789012345678901,01/11/2026,,871121,1,1,,,,,,1",
    }));
    EXPECT_EQ(counts.lineas_validas, 2);
    EXPECT_EQ(
        errors(),
        crlf(
            {"F2,760010012301,CC,00123,xx,,999999,1,1,,O800,,,,1 / linea  2 Error de " +
                 std::string(kSinUsuario),
             ",760010012301,CC,123,01/11/2026,,871121,4,1,,N3900,,,,1 / linea  3 Error de "
             "Campo1: Campo sin contenido Sin factura , Campo8 : No esta definido en los "
             "parametros, Campo11 : Con longitud mayor a la definida",
             "F4,760010012301,CC,456,01/11/2026,,735300,1,1,,O800,,,,1 / linea  4 Error de "
             "Campo7Sexo no corresponde al procedimiento",
             "F6,760010012301,CC,456,01/11/2026,,871121,1,1,,O800,,,,1 / linea  6 Error de Sexo no "
             "corresponde al DX",
             "F7,760010012301,CC,123,01/11/2026,,871121,1,1,,Z999,,,,1 / linea  7 Error de Z999 no "
             "existe en CIE10",
             "F8,760010012301,CC,123456789012345678901,01/11/2026,,871121,1,1,,,,,,1 / linea  8 "
             "Error de Campo4: Con longitud mayor a la definida, " +
                 std::string(kSinUsuario)}));
    EXPECT_EQ(counter(23), 2);
    EXPECT_EQ(counter(24), 1);
    EXPECT_EQ(counter(7), 1);
    EXPECT_EQ(counter(11), 1);
}

TEST_F(Procedures, AgeChecksShareOneMessage) {
    // The procedure's and the diagnosis's age checks share one message: a diagnosis whose sex
    // fits empties it, one whose sex does not fit leaves it.
    inst.add_cups("735301", "AP", "A", "441", "450");
    run(crlf({"F1,760010012301,CC,123,01/11/2026,,735301,1,1,,N390,,,,1",
              "F2,760010012301,CC,456,01/11/2026,,735301,1,1,,O800,,,,1"}));
    EXPECT_EQ(errors(), crlf({"F1,760010012301,CC,123,01/11/2026,,735301,1,1,,N390,,,,1 / linea  1 "
                              "Error de ",
                              "F2,760010012301,CC,456,01/11/2026,,735301,1,1,,O800,,,,1 / linea  2 "
                              "Error de Sexo no corresponde al DX,Edad no corresponde al "
                              "Procedimiento"}));
    EXPECT_EQ(counter(7), 2);
}

TEST_F(Procedures, StoredRow) {
    run(crlf({"F1,760010012301,cc,123,01/11/2026,,735300,1,1,,O800,,,,abc",
              "F2,760010012301,CC,123,01/11/2026,AUT,871121,2,1,1,N390,O800,N390,1, "}));
    EXPECT_EQ(errors(), "");
    SQLite::Statement st(
        inst.work().db(),
        "SELECT tipo_identificacion, fecha, num_autorizacion, personal, diag_prin, "
        "forma_acto, valor FROM procedimientos ORDER BY num_factura");
    ASSERT_TRUE(st.executeStep());
    EXPECT_EQ(st.getColumn(0).getString(), "CC");
    EXPECT_EQ(st.getColumn(1).getString(), "2026-11-01");
    EXPECT_TRUE(st.getColumn(2).isNull());
    EXPECT_TRUE(st.getColumn(3).isNull());
    EXPECT_EQ(st.getColumn(4).getString(), "O800");
    EXPECT_TRUE(st.getColumn(5).isNull());
    EXPECT_EQ(st.getColumn(6).getDouble(), 0);
    ASSERT_TRUE(st.executeStep());
    EXPECT_EQ(st.getColumn(2).getString(), "AUT");
    EXPECT_EQ(st.getColumn(5).getString(), "1");
    EXPECT_EQ(st.getColumn(6).getDouble(), 0);
}

}  // namespace
}  // namespace corvela
