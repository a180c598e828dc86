#include "validators/procedures.h"

#include "support/validator_test.h"

namespace corvela::testing {
namespace {

struct ProceduresTest : ValidatorTest<ProceduresValidator> {
    ProceduresTest() : ValidatorTest("AP000001.TXT") {
        inst.add_cups("735300", "AP", "F", "412", "450");
        inst.add_cups("871121", "AP", "A", "0", "0");
        inst.add_cie10("O800", "F", "412", "450");
        inst.add_cie10("N390", "A", "0", "0");
        user("CC", "123", "F");
        user("CC", "456", "M", 40);
    }
};

TEST_F(ProceduresTest, ErrorFileLines) {
    auto counts = expect_errors({
        {"F1,760010012301,cc,123,01/11/2026,,735300,1,1,,O800,,,,50000", ""},
        // Leading zeros: the user test runs on the number as written and finds nobody; the bad
        // date and procedure of the line are not reported.
        {"F2,760010012301,CC,00123,xx,,999999,1,1,,O800,,,,1", kNoUser},
        {",760010012301,CC,123,01/11/2026,,871121,4,1,,N3900,,,,1",
         "Campo1: Campo sin contenido Sin factura , Campo8 : No esta definido en los parametros, "
         "Campo11 : Con longitud mayor a la definida"},
        // Procedure for women on a man: its error, and no diagnosis sex check.
        {"F4,760010012301,CC,456,01/11/2026,,735300,1,1,,O800,,,,1",
         "Campo7Sexo no corresponde al procedimiento"},
        // No principal diagnosis: the man passes although the last diagnosis found is for women.
        {"F5,760010012301,CC,456,01/11/2026,,871121,1,1,,,,,,1", ""},
        {"F6,760010012301,CC,456,01/11/2026,,871121,1,1,,O800,,,,1", "Sexo no corresponde al DX"},
        {"F7,760010012301,CC,123,01/11/2026,,871121,1,1,,Z999,,,,1", "Z999 no existe en CIE10"},
        {"F8,760010012301,CC,123456789012345678901,01/11/2026,,871121,1,1,,,,,,1",
         "Campo4: Con longitud mayor a la definida, " + std::string(kNoUser)},
    });
    EXPECT_EQ(counts.lines_passed, 2);
    EXPECT_EQ(counters({23, 24, 7, 11}), (std::vector<int>{2, 1, 1, 1}));
}

TEST_F(ProceduresTest, AgeChecksShareOneMessage) {
    // The procedure's and the diagnosis's age checks share one message: a diagnosis whose sex
    // fits empties it, one whose sex does not fit leaves it.
    inst.add_cups("735301", "AP", "A", "441", "450");
    run({"F1,760010012301,CC,123,01/11/2026,,735301,1,1,,N390,,,,1",
         "F2,760010012301,CC,456,01/11/2026,,735301,1,1,,O800,,,,1"});
    EXPECT_EQ(errors(), crlf({"F1,760010012301,CC,123,01/11/2026,,735301,1,1,,N390,,,,1 / linea  1 "
                              "Error de ",
                              "F2,760010012301,CC,456,01/11/2026,,735301,1,1,,O800,,,,1 / linea  2 "
                              "Error de Sexo no corresponde al DX,Edad no corresponde al "
                              "Procedimiento"}));
    EXPECT_EQ(counters({7}), std::vector<int>{2});
}

TEST_F(ProceduresTest, StoredRows) {
    run({"F1,760010012301,cc,123,01/11/2026,,735300,1,1,,O800,,,,abc",
         "F2,760010012301,CC,123,01/11/2026,AUT,871121,2,1,1,N390,O800,N390,1, "});
    EXPECT_EQ(errors(), "");
    EXPECT_EQ(rows("SELECT tipo_identificacion, fecha, num_autorizacion, personal, diag_prin, "
                   "forma_acto, valor FROM procedimientos ORDER BY num_factura"),
              (std::vector<std::string>{"CC|2026-11-01|null|null|O800|null|0",
                                        "CC|2026-11-01|AUT|1|N390|1|0"}));
}

}  // namespace
}  // namespace corvela::testing
