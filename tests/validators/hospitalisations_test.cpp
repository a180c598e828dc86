#include "validators/hospitalisations.h"

#include "support/validator_test.h"

namespace corvela::testing {
namespace {

// A valid hospitalisation record of the male user CC 16789012, with some fields replaced.
std::string ah(const std::map<int, std::string>& changes = {}) {
    return record({"F001", kIps, "CC", "16789012", "1", "01/11/2026", "0830", "", "13", "J189",
                   "J180", "", "", "", "", "1", "", "05/11/2026", "1000"},
                  changes);
}

struct HospitalisationsTest : ValidatorTest<HospitalisationsValidator> {
    HospitalisationsTest() : ValidatorTest("AH000001.TXT") {
        user("CC", "16789012", "M");
        user("CC", "52000111", "F", 4);
        inst.add_cie10("J189", "A", "0", "0");
        inst.add_cie10("J180", "A", "0", "0");
        inst.add_cie10("N700", "F", "0", "0");
        inst.add_cie10("J450", "A", "405", "599");
    }
};

TEST_F(HospitalisationsTest, UnknownDiagnosisIsReportedUnlessASingleFieldErrorCameFirst) {
    user("CC", "12A45", "M");
    const std::string ingreso = "Diagnóstico principal de ingreso:  Z999 no existe en CIE10";
    // The first line leaves a diagnosis of any sex in force for the sex checks.
    expect_errors({
        {ah(), ""},
        {ah({{10, "Z999"}}), ingreso},
        {ah({{10, "Z999"}, {11, "Z998"}}),
         ingreso + ",Diagnóstico principal de  egreso: Z998 no existe en CIE10"},
        {ah({{1, ""}, {13, "ABCDE"}, {10, "Z999"}}),
         "Campo1: Campo sin contenido, Campo13 : Con longitud mayor a la definida, " + ingreso},
        // One field error alone: the unknown code is neither described nor counted.
        {ah({{1, ""}, {10, "Z999"}}), "Campo1: Campo sin contenido"},
        // The empty cause of death is looked up and fails, silently.
        {ah({{16, "2"}, {17, ""}}), "Campo17: Campo sin contenido"},
        {ah({{16, "1"}, {17, "ZZZZ"}}), ""},
        // A field error alone, but the "CC" report after it sets the several-messages flag: the
        // unknown code is reported.
        {ah({{4, "12A45"}, {10, "Z999"}}),
         "Campo4 Valor del campo debe ser numerico, Numero de Identificación es tipo cedula y no "
         "es numerico, " +
             ingreso},
    });
    EXPECT_EQ(counters({10, 11, 17}), (std::vector<int>{4, 1, 1}));
    // With state 1 the cause of death is not looked up and is stored as written.
    EXPECT_EQ(rows("SELECT estado_salida, diag_muerte FROM hospitalizacion ORDER BY rowid"),
              (std::vector<std::string>{"1|null", "1|ZZZZ"}));
}

TEST_F(HospitalisationsTest, SexMismatchOfEachDiagnosisAndItsCounters) {
    const std::string sexo = "Sexo no corresponde al DX";
    const struct {
        std::string line, text;
        int c24, c25;
    } cases[] = {
        {ah({{10, "N700"}}), "Diagnóstico principal de ingreso: " + sexo, 2, 0},
        {ah({{11, "N700"}}), "Diagnóstico principal de  egreso: " + sexo, 0, 1},
        {ah({{16, "2"}, {17, "N700"}}), "Diagnóstico causa basica de muerte: " + sexo, 0, 1},
        {ah({{1, ""}, {10, "N700"}, {11, "N700"}, {16, "2"}, {17, "N700"}}),
         "Campo1: Campo sin contenido, Diagnóstico principal de ingreso: " + sexo +
             ", Diagnóstico principal de  egreso: " + sexo +
             ", Diagnóstico causa basica de muerte: " + sexo,
         2, 2},
    };
    for (const auto& c : cases) {
        expect_errors({{c.line, c.text}});
        EXPECT_EQ(counters({24, 25}), (std::vector<int>{c.c24, c.c25})) << c.line;
    }
}

TEST_F(HospitalisationsTest, FieldRulesTheirTextsAndCounters) {
    inst.add_cie10("0A09", "A", "0", "0");
    auto counts = expect_errors({
        {ah({{1, ""}, {4, "52000111"}, {10, "J450"}}),
         "Campo1: Campo sin contenido,  Diagnóstico principal de ingreso: Edad no corresponde al "
         "DX"},
        {ah({{4, "52000111"}, {16, "2"}, {17, "J450"}}),
         "Diagnóstico causa basica de muerte: Edad no corresponde al DX"},
        {ah({{6, "05/03/2026"}, {18, "01/03/2026"}}),
         " Fecha de ingreso mayor que fecha de egreso "},
        {ah({{6, "05/03/2026"}, {18, "05/03/2026"}}), ""},
        {ah({{7, "2400"}}), "Campo7: formato de hora incorrecto"},
        {ah({{7, "1061"}}), "Campo7: formato de minutos incorrecto"},
        {ah({{19, "2400"}}), "Campo19: Formato de hora incorrecto"},
        {ah({{19, "10"}}), ""},
        {ah({{5, "5"}}), "Campo5: No esta definido en los parametros"},
        {ah({{3, "cc"}, {5, "4"}, {9, "1"}, {10, "A09"}, {8, "A-1"}}), ""},
        {ah({{9, "15"}, {12, "J180"}}), ""},
    });
    EXPECT_EQ(counts.lines_passed, 4);
    EXPECT_EQ(counters({5, 7, 10, 19, 25, 26}), (std::vector<int>{1, 2, 2, 1, 1, 1}));
    EXPECT_EQ(rows("SELECT tipo_identi, via_ingreso, fecha_ingreso, num_autorizacion, "
                   "causa_externa, diag_prin_ingre, diag_egre1, fecha_egre FROM hospitalizacion "
                   "ORDER BY rowid"),
              (std::vector<std::string>{"CC|1|2026-03-05|null|13|J189|null|2026-03-05",
                                        "CC|1|2026-11-01|null|13|J189|null|2026-11-05",
                                        "CC|4|2026-11-01|A-1|01|0A09|null|2026-11-05",
                                        "CC|1|2026-11-01|null|15|J189|J180|2026-11-05"}));
}

}  // namespace
}  // namespace corvela::testing
