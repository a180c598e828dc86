#include "validators/emergencies.h"

#include "support/validator_test.h"

namespace corvela::testing {
namespace {

// A valid emergencies record of the user CC 16789012, with some fields replaced.
std::string au(const std::map<int, std::string>& changes = {}) {
    return record({"F001", kIps, "CC", "16789012", "01/11/2026", "0830", "", "13", "J189", "", "",
                   "", "1", "1", "", "02/11/2026", "1000"},
                  changes);
}

struct EmergenciesTest : ValidatorTest<EmergenciesValidator> {
    EmergenciesTest() : ValidatorTest("AU000001.TXT") {
        user("CC", "16789012", "M");
        inst.add_cie10("J189", "A", "0", "0");
    }
};

TEST_F(EmergenciesTest, FieldRulesTheirTextsAndCounters) {
    inst.add_cie10("I219", "A", "0", "0");
    inst.add_cie10("N700", "F", "0", "0");
    inst.add_cie10("J450", "A", "405", "599");
    user("CC", "52000111", "F", 4);
    user("CC", "12A45678", "M");
    user("CC", "1234567-8", "M");
    const std::string values = "Campo14: Contenido no corresponde a los valores definidos";
    const std::string numeric = "Campo4 Valor del campo debe ser numerico";
    auto counts = expect_errors(
        {{au({{6, "2530"}}), "Campo6: Formato de hora incorrecto"},
         {au({{6, "0875"}}), "Campo6: Formato de minutos incorrecto"},
         {au({{6, "2575"}}),
          "Campo6: Formato de hora incorrecto, Campo6 : Formato de minutos incorrecto"},
         {au({{6, "08:30"}}), ""},
         {au({{6, ""}}), "Campo6: Campo sin contenido"},
         {au({{17, "2460"}}),
          "Campo17: Formato de hora incorrecto, Campo17 : Formato de minutos incorrecto"},
         // The cause of death is looked up only with exit state 2.
         {au({{14, "2"}, {15, ""}}), "Campo15: Campo sin contenido C15  no existe en CIE10"},
         {au({{14, "1"}, {15, ""}}), ""},
         {au({{14, "2"}, {15, "I219"}}), ""},
         {au({{14, "3"}}), values},
         {au({{14, "0"}}), values},
         {au({{14, "1"}, {15, "ZZZZ"}}), ""},
         // Field 5 and the hour are wrong too, but are not checked for a record without user.
         {au({{1, ""}, {4, "99999999"}, {5, "xx"}, {6, "9999"}}),
          "Campo1: Campo sin contenido, " + std::string(kNoUser)},
         // A cedula of letters is counted, one with a check digit is not.
         {au({{4, "12A45678"}}),
          numeric + ", Numero de Identificación es tipo cedula y no es numerico"},
         {au({{4, "1234567-8"}}), numeric},
         {au({{9, "N700"}}), "Sexo no corresponde al DX"},
         {au({{4, "52000111"}, {9, "N700"}}), ""},
         {au({{4, "52000111"}, {9, "J450"}}), "Edad no corresponde al DX"}},
        "/ ");
    EXPECT_EQ(counts.lines_passed, 5);
    EXPECT_EQ(counters({5, 6, 8, 14, 15, 17, 22, 23, 24}),
              (std::vector<int>{0, 5, 1, 2, 2, 2, 1, 1, 1}));
    // With state 1 the cause of death is stored as written; empty is stored as null.
    EXPECT_EQ(rows("SELECT hora_ingreso, estado, causa_muerte FROM urgencias ORDER BY rowid"),
              (std::vector<std::string>{"08:30|1|null", "0830|1|null", "0830|2|I219", "0830|1|ZZZZ",
                                        "0830|1|null"}));
}

TEST_F(EmergenciesTest, CodesAreNormalisedBeforeLookupAndStorage) {
    inst.add_cie10("0A09", "A", "0", "0");
    inst.add_cie10("00AB", "A", "0", "0");
    inst.add_cie10("0R10", "A", "0", "0");
    // An empty principal diagnosis is looked up too; the earlier lines leave a diagnosis of any
    // sex in force for its sex check.
    expect_errors({{au({{8, "1"}, {9, "A09"}}), ""},
                   {au({{9, "AB"}}), ""},
                   {au({{14, "2"}, {15, "R10"}}), ""},
                   {au({{9, "A0"}}), " C9 00A0 no existe en CIE10"},
                   {au({{9, ""}}), "Campo9: Campo sin contenido C9  no existe en CIE10"}},
                  "/ ");
    EXPECT_EQ(counters({9}), std::vector<int>{3});
    EXPECT_EQ(rows("SELECT causa_externa, diag_prin, causa_muerte FROM urgencias ORDER BY rowid"),
              (std::vector<std::string>{"01|0A09|null", "13|00AB|null", "13|J189|0R10"}));
}

TEST_F(EmergenciesTest, StoredRowHoldsConvertedValues) {
    // A date of 9 characters fails the date check; the second line is stored.
    run({au({{3, "cc"}, {7, "AUT-77"}, {10, "J180"}, {16, "3/11/2026"}}),
         au({{16, "03/11/2026"}})});
    run({au({{3, "cc"}, {7, "AUT-77"}, {10, "J180"}})});
    // Texts are stored as text, so that the engine's comparisons find them.
    EXPECT_EQ(rows("SELECT tipo_identificacion, fecha_ingreso, num_autorizacion, diag_r1, "
                   "fecha_salida, num_radicacion, typeof(num_factura), typeof(hora_ingreso), "
                   "typeof(fecha_ingreso) FROM urgencias ORDER BY rowid"),
              (std::vector<std::string>{"CC|2026-11-01|null|null|2026-11-03|0|text|text|text",
                                        "CC|2026-11-01|AUT-77|J180|2026-11-02|0|text|text|text"}));
}

}  // namespace
}  // namespace corvela::testing
