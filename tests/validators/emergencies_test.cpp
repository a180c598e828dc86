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

TEST_F(EmergenciesTest, HourRuleOnBothHourFields) {
    auto counts = run({au({{6, "2530"}}), au({{6, "0875"}}), au({{6, "2575"}}), au({{6, "08:30"}}),
                       au({{6, ""}}), au({{17, "2460"}})});
    EXPECT_EQ(counts.lines_read, 6);
    EXPECT_EQ(counts.lines_passed, 1);
    EXPECT_EQ(errors(),
              crlf({au({{6, "2530"}}) + "/ linea  1 Error de Campo6: Formato de hora incorrecto",
                    au({{6, "0875"}}) + "/ linea  2 Error de Campo6: Formato de minutos incorrecto",
                    au({{6, "2575"}}) +
                        "/ linea  3 Error de Campo6: Formato de hora incorrecto, Campo6 : Formato "
                        "de minutos incorrecto",
                    au({{6, ""}}) + "/ linea  5 Error de Campo6: Campo sin contenido",
                    au({{17, "2460"}}) +
                        "/ linea  6 Error de Campo17: Formato de hora incorrecto, Campo17 : "
                        "Formato de minutos incorrecto"}));
    EXPECT_EQ(counters({6, 17}), (std::vector<int>{5, 2}));
    EXPECT_EQ(rows("SELECT hora_ingreso FROM urgencias"), std::vector<std::string>{"08:30"});
}

TEST_F(EmergenciesTest, ExitStateAndCauseOfDeath) {
    inst.add_cie10("I219", "A", "0", "0");
    run({au({{14, "2"}, {15, ""}}), au({{14, "1"}, {15, ""}}), au({{14, "2"}, {15, "I219"}}),
         au({{14, "3"}}), au({{14, "0"}}), au({{14, "1"}, {15, "ZZZZ"}})});
    const std::string values = "Error de Campo14: Contenido no corresponde a los valores definidos";
    EXPECT_EQ(errors(), crlf({au({{14, "2"}, {15, ""}}) +
                                  "/ linea  1 Error de Campo15: Campo sin contenido C15  no existe "
                                  "en CIE10",
                              au({{14, "3"}}) + "/ linea  4 " + values,
                              au({{14, "0"}}) + "/ linea  5 " + values}));
    EXPECT_EQ(counters({14, 15}), (std::vector<int>{2, 2}));
    // With state 1 the cause of death is not looked up; empty is stored as null.
    EXPECT_EQ(rows("SELECT estado, causa_muerte FROM urgencias ORDER BY rowid"),
              (std::vector<std::string>{"1|null", "2|I219", "1|ZZZZ"}));
}

TEST_F(EmergenciesTest, UnknownUserGetsOnlyTheFirstFourFields) {
    // Field 5 and the hour are wrong too, but are not checked for a record without user.
    std::string line = au({{1, ""}, {4, "99999999"}, {5, "xx"}, {6, "9999"}});
    run({line});
    EXPECT_EQ(errors(),
              crlf({line + "/ linea  1 Error de Campo1: Campo sin contenido, " + kNoUser}));
    EXPECT_EQ(counters({23, 5, 6}), (std::vector<int>{1, 0, 0}));
}

TEST_F(EmergenciesTest, CodesAreNormalisedBeforeLookupAndStorage) {
    inst.add_cie10("0A09", "A", "0", "0");
    inst.add_cie10("00AB", "A", "0", "0");
    inst.add_cie10("0R10", "A", "0", "0");
    // An empty principal diagnosis is looked up too; the earlier lines leave a diagnosis of any
    // sex in force for its sex check.
    run({au({{8, "1"}, {9, "A09"}}), au({{9, "AB"}}), au({{14, "2"}, {15, "R10"}}), au({{9, "A0"}}),
         au({{9, ""}})});
    EXPECT_EQ(errors(),
              crlf({au({{9, "A0"}}) + "/ linea  4 Error de  C9 00A0 no existe en CIE10",
                    au({{9, ""}}) +
                        "/ linea  5 Error de Campo9: Campo sin contenido C9  no existe en CIE10"}));
    EXPECT_EQ(counters({9}), std::vector<int>{3});
    EXPECT_EQ(rows("SELECT causa_externa, diag_prin, causa_muerte FROM urgencias ORDER BY rowid"),
              (std::vector<std::string>{"01|0A09|null", "13|00AB|null", "13|J189|0R10"}));
}

TEST_F(EmergenciesTest, CedulaWithLettersIsCountedButCheckDigitIsNot) {
    user("CC", "12A45678", "M");
    user("CC", "1234567-8", "M");
    run({au({{4, "12A45678"}}), au({{4, "1234567-8"}})});
    const std::string numeric = "Error de Campo4 Valor del campo debe ser numerico";
    EXPECT_EQ(errors(), crlf({au({{4, "12A45678"}}) + "/ linea  1 " + numeric +
                                  ", Numero de Identificación es tipo cedula y no es numerico",
                              au({{4, "1234567-8"}}) + "/ linea  2 " + numeric}));
    EXPECT_EQ(counters({22}), std::vector<int>{1});
}

TEST_F(EmergenciesTest, SexAndAgeOfUserAgainstPrincipalDiagnosis) {
    inst.add_cie10("N700", "F", "0", "0");
    inst.add_cie10("J450", "A", "405", "599");
    user("CC", "52000111", "F", 4);
    run({au({{9, "N700"}}), au({{4, "52000111"}, {9, "N700"}}),
         au({{4, "52000111"}, {9, "J450"}})});
    EXPECT_EQ(errors(), crlf({au({{9, "N700"}}) + "/ linea  1 Error de Sexo no corresponde al DX",
                              au({{4, "52000111"}, {9, "J450"}}) +
                                  "/ linea  3 Error de Edad no corresponde al DX"}));
    EXPECT_EQ(counters({24, 8}), (std::vector<int>{1, 1}));
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
