#include "validators/consultas.h"

#include <gtest/gtest.h>

#include "support/installation.h"

namespace corvela {
namespace {

using testing::crlf;

constexpr const char* kSinUsuario =
    "No se relaciona con un usuario: el registro de usuario no existe o no paso la validación";

struct Consultations : ::testing::Test {
    testing::Installation inst;
    testing::ScriptedUi ui;
    testing::FixedClock clock{{2026, 12, 6}};

    Consultations() {
        inst.add_cups("890201", "AC", "A", "0", "0");
        inst.add_cups("890301", "AP", "A", "0", "0");
        inst.add_cie10("N390", "A", "0", "0");
        inst.add_cie10("0A09", "A", "0", "0");
        inst.add_cie10("00A9", "A", "0", "0");
        inst.add_cie10("O800", "F", "412", "450");
    }
    FileCounts run(const std::string& bytes) {
        inst.write("AC000001.TXT", bytes);
        auto ctx = inst.context(ui, clock, "AC000001.TXT");
        ctx->users.add("CC", "123", UserData{"1", 30, "F"});
        ctx->users.add("TI", "1002003004", UserData{"1", 10, "M"});
        AConsultas v;
        return leer_archivo(*ctx, v, inst.delivery / "AC000001.TXT");
    }
    std::string errors() { return inst.result(std::string(testing::kIps) + "_AC000001.ERR"); }
    std::string accepted() { return inst.result(std::string(testing::kIps) + "_AC000001.TXT"); }
    std::vector<int> counters(std::initializer_list<int> codes) {
        std::vector<int> out;
        for (int c : codes) {
            SQLite::Statement st(inst.work().db(),
                                 "SELECT C" + std::to_string(c) + " FROM ERRORES");
            out.push_back(st.executeStep() ? st.getColumn(0).getInt() : -1);
        }
        return out;
    }
};

TEST_F(Consultations, ErrorFileLines) {
    const std::string good =
        "F1,760010012301,CC,123,01/11/2026,,890201,10,13,N390,,,,1,20000,0,20000";
    auto counts = run(crlf({
        good,
        // Unknown user: only fields 1 to 4 are looked at.
        "F2,760010012301,CC,999,xx,,zz,99,99,ZZZZ,,,,1,1,0,1",
        // Failed date and unknown procedure: no user data was taken, so the sex of the
        // diagnosis does not fit either.
        "F3,760010012301,CC,123,31/02/2026,,890301,10,13,N390,,,,1,1,0,1",
        // Unknown diagnosis, procedure listed only for procedures, purpose not in the table.
        "F4,760010012301,CC,123,01/11/2026,,890301,05,13,Z00,,,,1,1,0,1",
        // Diagnosis for women over 12 years given to a boy of 10.
        "F5,760010012301,TI,1002003004,01/11/2026,,890201,10,13,O800,,,,1,1,0,1",
        "F6,999,CC,123,01/11/2026,,890201,10,13,N390,,,,,1,0,1",
    }));
    EXPECT_EQ(counts.lineas_leidas, 6);
    EXPECT_EQ(counts.lineas_validas, 1);
    EXPECT_EQ(accepted(), crlf({good}));
    EXPECT_EQ(
        errors(),
        crlf({"F2,760010012301,CC,999,xx,,zz,99,99,ZZZZ,,,,1,1,0,1 / linea  2 Error de " +
                  std::string(kSinUsuario),
              "F3,760010012301,CC,123,31/02/2026,,890301,10,13,N390,,,,1,1,0,1 / linea  3 Error "
              "de Campo5 Fecha sin formato correcto, Campo7 Actividad no definidad en CUPS,Sexo no "
              "corresponde al DX",
              "F4,760010012301,CC,123,01/11/2026,,890301,05,13,Z00,,,,1,1,0,1 / linea  4 Error de "
              "Campo7Actividad no definidad en CUPS, Campo8 : No esta definido en los "
              "parametros0Z00 no existe en CIE10",
              "F5,760010012301,TI,1002003004,01/11/2026,,890201,10,13,O800,,,,1,1,0,1 / linea  5 "
              "Error de Sexo no corresponde al DX",
              "F6,999,CC,123,01/11/2026,,890201,10,13,N390,,,,,1,0,1 / linea  6 Error de Campo2: "
              "Codigo de IPS no corresponde al definico en el archivo de control, Campo14 : Campo "
              "sin contenido"}));
    EXPECT_EQ(counters({2, 5, 7, 8, 10, 14, 23, 24}), (std::vector<int>{1, 1, 2, 1, 1, 1, 1, 2}));
}

TEST_F(Consultations, AgeOfTheDiagnosis) {
    inst.add_cie10("R100", "A", "405", "599");
    run(crlf({"F1,760010012301,TI,1002003004,01/11/2026,,890201,10,13,R100,,,,1,1,0,1",
              "F2,760010012301,CC,123,01/11/2026,,890201,10,13,R10,,,,1,1,0,1"}));
    // The 3-character code is looked up as 0R10, which does not exist: the line fails on it
    // alone, the previous diagnosis (5 years and over) still fits a woman of 30.
    EXPECT_EQ(errors(), crlf({"F2,760010012301,CC,123,01/11/2026,,890201,10,13,R10,,,,1,1,0,1 / "
                              "linea  2 Error de 0R10 no existe en CIE10"}));
}

TEST_F(Consultations, StoredRow) {
    run(crlf({"F1,760010012301,CC,0123,1/11/2026,,890201,1,13,A9,,,,1,20000,0,0",
              "F2,760010012301,CC,123,01/11/2026,AUT9,890201,1,1,A09,N390,,,2,1.5,0,20000"}));
    // The date failed, but the procedure check took the user's data, so the sex fits.
    EXPECT_EQ(errors(), crlf({"F1,760010012301,CC,0123,1/11/2026,,890201,1,13,A9,,,,1,20000,0,0 / "
                              "linea  1 Error de Campo5 Fecha sin formato correcto"}));
    SQLite::Statement st(inst.work().db(),
                         "SELECT num_identificacion, fecha_consul, num_autorizacion, "
                         "finalidad_consul, causa_externa, cod_diag_prin, cod_diag_r1, "
                         "cod_diag_r2, valor_consul, valor_cuota, valor_neto, num_radicacion "
                         "FROM consulta");
    ASSERT_TRUE(st.executeStep());
    EXPECT_EQ(st.getColumn(0).getString(), "123");
    EXPECT_EQ(st.getColumn(1).getString(), "2026-11-01");
    EXPECT_EQ(st.getColumn(2).getString(), "AUT9");
    EXPECT_EQ(st.getColumn(3).getString(), "01");
    EXPECT_EQ(st.getColumn(4).getString(), "01");
    EXPECT_EQ(st.getColumn(5).getString(), "0A09");
    EXPECT_EQ(st.getColumn(6).getString(), "N390");
    EXPECT_TRUE(st.getColumn(7).isNull());
    EXPECT_EQ(st.getColumn(8).getDouble(), 1.5);
    EXPECT_EQ(st.getColumn(10).getDouble(), 20000);
    EXPECT_EQ(st.getColumn(11).getDouble(), 0);
    EXPECT_FALSE(st.executeStep());
}

TEST_F(Consultations, EmptyAmountsAndTwoCharacterDiagnosis) {
    run(crlf({"F1,760010012301,CC,123,01/11/2026,,890201,10,13,A9,,,,1,,, "}));
    EXPECT_EQ(errors(), "");
    SQLite::Statement st(
        inst.work().db(),
        "SELECT cod_diag_prin, valor_consul, valor_neto, num_autorizacion FROM consulta");
    ASSERT_TRUE(st.executeStep());
    EXPECT_EQ(st.getColumn(0).getString(), "00A9");
    EXPECT_EQ(st.getColumn(1).getDouble(), 0);
    EXPECT_EQ(st.getColumn(2).getDouble(), 0);
    EXPECT_TRUE(st.getColumn(3).isNull());
}

}  // namespace
}  // namespace corvela
