#include "validators/newborns.h"

#include "support/validator_test.h"

namespace corvela::testing {
namespace {

// A valid newborn record of the mother CC 52000111, with some fields replaced. The death hour
// is filled: an empty last field would end the line with a comma and fail its field count.
std::string an(const std::map<int, std::string>& changes = {}) {
    return record({"F001", kIps, "CC", "52000111", "01/11/2026", "0830", "38", "1", "F", "3200",
                   "P070", "", "", "0000"},
                  changes);
}

struct NewbornsTest : ValidatorTest<NewbornsValidator> {
    NewbornsTest() : ValidatorTest("AN000001.TXT") {
        user("CC", "52000111", "F");
        inst.add_cie10("P070", "A", "0", "0");
    }
};

TEST_F(NewbornsTest, FieldRulesTheirTextsAndCounters) {
    const std::string length = "Campo6: Con longitud mayor a la definida o no tiene contenido";
    const std::string minutes = "Campo6:Formato de minutos incorrecto";
    const std::string values = "Campo8: Contenido no corresponde a los valores definidos";
    const std::string date = "Campo13: Contenido no cumple con el formato de fecha";
    auto counts = expect_errors({
        {an({{6, ""}}), length},
        {an({{6, "123456"}}), length},
        {an({{6, "2510"}}), "Campo6: Formato de hora incorrecto"},
        {an({{6, "1075"}}), minutes},
        {an({{6, "2375"}}), minutes},
        {an({{8, "3"}}), values},
        {an({{8, "0"}}), values},
        {an({{8, "1"}}), ""},
        {an({{8, "2"}}), ""},
        {an({{7, "3s"}}), "Campo7: el contenido no es numerico"},
        {an({{13, "31/02/2026"}}), date},
        {an({{13, "xx"}}), date},
        {an({{13, "1/2/2026"}}), "Campo13 Fecha sin formato correcto"},
        {an({{12, "P070"}, {13, "05/11/2026"}}), ""},
    });
    EXPECT_EQ(counts.lines_passed, 3);
    EXPECT_EQ(counters({6, 7, 8, 13}), (std::vector<int>{5, 1, 2, 3}));
    EXPECT_EQ(
        rows("SELECT causa_muerte, fecha_muerte, hora_muerte FROM nacidos ORDER BY rowid"),
        (std::vector<std::string>{"null|null|0000", "null|null|0000", "P070|2026-11-05|0000"}));
}

TEST_F(NewbornsTest, NewbornSexIsComparedWithTheDiagnosis) {
    inst.add_cie10("N390", "M", "0", "0");
    const std::string sexo = "Sexo no corresponde al DX";
    expect_errors({{an({{9, "1"}}), "Campo9: Los valores permitidos son M o F no 1," + sexo},
                   {an({{9, "2"}}), "Campo9: Los valores permitidos son M o F no 2," + sexo},
                   {an({{9, "M"}}), ""},
                   {an({{11, "N390"}}), sexo}});
    EXPECT_EQ(counters({9, 24}), (std::vector<int>{2, 3}));
}

TEST_F(NewbornsTest, DiagnosisNormalisationAndReport) {
    inst.add_cie10("0A09", "A", "0", "0");
    const std::string unknown = "Diagnóstico del recién nacido: Z999 no existe en CIE10";
    expect_errors({
        {an({{11, "A09"}}), ""},
        {an({{11, ""}}), "Campo11: Campo sin contenido"},
        {an({{11, "Z999"}}), unknown},
        // A single field error before it: the unknown code goes unmentioned.
        {an({{7, "3s"}, {11, "Z999"}}), "Campo7: el contenido no es numerico"},
        {an({{7, "3s"}, {10, ""}, {11, "Z999"}}),
         "Campo7: el contenido no es numerico, Campo10 : Campo sin contenido, " + unknown},
    });
    EXPECT_EQ(counters({11}), std::vector<int>{3});
    EXPECT_EQ(rows("SELECT diag_rn FROM nacidos"), std::vector<std::string>{"0A09"});
}

TEST_F(NewbornsTest, StoredRow) {
    run({an({{3, "cc"}, {5, "1-11-2026"}}), an({{3, "cc"}, {5, "02-11-2026"}})});
    EXPECT_EQ(rows("SELECT tipo_identificacion, numero_identificacion, fecha_naci, HORA, "
                   "edad_gestacional, control_prena, sexo, peso, num_radicacion FROM nacidos"),
              std::vector<std::string>{"cc|52000111|2026-11-02|0830|38|1|F|3200|0"});
    EXPECT_EQ(counters({5}), std::vector<int>{1});
}

}  // namespace
}  // namespace corvela::testing
