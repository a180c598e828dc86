#include "validators/consultations.h"

#include "support/validator_test.h"

namespace corvela::testing {
namespace {

struct ConsultationsTest : ValidatorTest<ConsultationsValidator> {
    ConsultationsTest() : ValidatorTest("AC000001.TXT") {
        inst.add_cups("890201", "AC", "A", "0", "0");
        inst.add_cups("890301", "AP", "A", "0", "0");
        inst.add_cie10("N390", "A", "0", "0");
        inst.add_cie10("0A09", "A", "0", "0");
        inst.add_cie10("00A9", "A", "0", "0");
        inst.add_cie10("O800", "F", "412", "450");
        user("CC", "123", "F");
        user("TI", "1002003004", "M", 10);
    }
};

TEST_F(ConsultationsTest, ErrorFileLines) {
    const std::string good =
        "F1,760010012301,CC,123,01/11/2026,,890201,10,13,N390,,,,1,20000,0,20000";
    auto counts = expect_errors({
        {good, ""},
        // Unknown user: only fields 1 to 4 are looked at.
        {"F2,760010012301,CC,999,xx,,zz,99,99,ZZZZ,,,,1,1,0,1", kNoUser},
        // Failed date and unknown procedure: no user data was taken, so the sex of the
        // diagnosis does not fit either.
        {"F3,760010012301,CC,123,31/02/2026,,890301,10,13,N390,,,,1,1,0,1",
         "Campo5 Fecha sin formato correcto, Campo7 Actividad no definidad en CUPS,Sexo no "
         "corresponde al DX"},
        // Unknown diagnosis, procedure listed only for procedures, purpose not in the table.
        {"F4,760010012301,CC,123,01/11/2026,,890301,05,13,Z00,,,,1,1,0,1",
         "Campo7Actividad no definidad en CUPS, Campo8 : No esta definido en los parametros0Z00 "
         "no existe en CIE10"},
        // Diagnosis for women over 12 years given to a boy of 10.
        {"F5,760010012301,TI,1002003004,01/11/2026,,890201,10,13,O800,,,,1,1,0,1",
         "Sexo no corresponde al DX"},
        {"F6,999,CC,123,01/11/2026,,890201,10,13,N390,,,,,1,0,1",
         "Campo2: Codigo de IPS no corresponde al definico en el archivo de control, Campo14 : "
         "Campo sin contenido"},
    });
    EXPECT_EQ(counts.lines_read, 6);
    EXPECT_EQ(accepted(), crlf({good}));
    EXPECT_EQ(counters({2, 5, 7, 8, 10, 14, 23, 24}), (std::vector<int>{1, 1, 2, 1, 1, 1, 1, 2}));
}

TEST_F(ConsultationsTest, AgeOfTheDiagnosis) {
    inst.add_cie10("R100", "A", "405", "599");
    // The 3-character code is looked up as 0R10, which does not exist: the line fails on it
    // alone, the previous diagnosis (5 years and over) still fits a woman of 30.
    expect_errors({{"F1,760010012301,TI,1002003004,01/11/2026,,890201,10,13,R100,,,,1,1,0,1", ""},
                   {"F2,760010012301,CC,123,01/11/2026,,890201,10,13,R10,,,,1,1,0,1",
                    "0R10 no existe en CIE10"}});
}

TEST_F(ConsultationsTest, StoredRows) {
    run({"F1,760010012301,CC,0123,1/11/2026,,890201,1,13,A9,,,,1,20000,0,0",
         "F2,760010012301,CC,123,01/11/2026,AUT9,890201,1,1,A09,N390,,,2,1.5,0,20000",
         "F3,760010012301,CC,123,01/11/2026,,890201,10,13,A9,,,,1,,, "});
    // The date failed, but the procedure check took the user's data, so the sex fits.
    EXPECT_EQ(errors(), crlf({"F1,760010012301,CC,0123,1/11/2026,,890201,1,13,A9,,,,1,20000,0,0 / "
                              "linea  1 Error de Campo5 Fecha sin formato correcto"}));
    EXPECT_EQ(rows("SELECT num_identificacion, fecha_consul, num_autorizacion, finalidad_consul, "
                   "causa_externa, cod_diag_prin, cod_diag_r1, cod_diag_r2, valor_consul, "
                   "valor_neto, num_radicacion FROM consulta ORDER BY rowid"),
              (std::vector<std::string>{"123|2026-11-01|AUT9|01|01|0A09|N390|null|1.5|20000|0",
                                        "123|2026-11-01|null|10|13|00A9|null|null|0|0|0"}));
}

// Statement texts never pass a code's, a diagnosis's or a procedure's lookup, and a user's number
// made of them finds its user.
TEST_F(ConsultationsTest, StatementTextsNeverPassALookupAndFindTheirUser) {
    const std::vector<std::string> fields = {
        "F1",   "760010012301", "CC", "123", "01/11/2026", "",  "890201", "10",
        "13",   "N390",         "",   "",    "",           "1", "20000",  "0",
        "20000"};
    std::vector<Line> lines;
    for (const auto& v : kInjections) {
        user("PA", v, "F");
        lines.push_back({record(fields, {{3, "PA"}, {4, v}}), ""});
        if (v.size() > 4) continue;  // longer than every field below: a length error
        // A diagnosis of fewer than four characters is padded with zeros on the left.
        const std::string dx = v.size() == 1 ? v : std::string(4 - v.size(), '0') + v;
        lines.push_back({record(fields, {{7, v}}), "Campo7Actividad no definidad en CUPS"});
        lines.push_back({record(fields, {{8, v}}), "Campo8: No esta definido en los parametros"});
        lines.push_back({record(fields, {{9, v}}), "Campo9: No esta definido en los parametros"});
        lines.push_back({record(fields, {{10, v}}), dx + " no existe en CIE10"});
    }
    EXPECT_EQ(expect_errors(lines).lines_passed, 5);
    EXPECT_EQ(rows("SELECT num_identificacion FROM consulta ORDER BY rowid"), kInjections);
}

}  // namespace
}  // namespace corvela::testing
