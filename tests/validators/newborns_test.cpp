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

TEST_F(NewbornsTest, BirthHour) {
    run({an({{6, ""}}), an({{6, "123456"}}), an({{6, "2510"}}), an({{6, "1075"}}),
         an({{6, "2375"}})});
    const std::string length =
        " Error de Campo6: Con longitud mayor a la definida o no tiene "
        "contenido";
    const std::string minutes = " Error de Campo6:Formato de minutos incorrecto";
    EXPECT_EQ(errors(), crlf({an({{6, ""}}) + " / linea  1" + length,
                              an({{6, "123456"}}) + " / linea  2" + length,
                              an({{6, "2510"}}) + " / linea  3 Error de Campo6: Formato de hora "
                                                  "incorrecto",
                              an({{6, "1075"}}) + " / linea  4" + minutes,
                              an({{6, "2375"}}) + " / linea  5" + minutes}));
    EXPECT_EQ(counters({6}), std::vector<int>{5});
}

TEST_F(NewbornsTest, PrenatalControlAndGestationalAge) {
    run({an({{8, "3"}}), an({{8, "0"}}), an({{8, "1"}}), an({{8, "2"}}), an({{7, "3s"}})});
    const std::string values = " Error de Campo8: Contenido no corresponde a los valores definidos";
    EXPECT_EQ(errors(), crlf({an({{8, "3"}}) + " / linea  1" + values,
                              an({{8, "0"}}) + " / linea  2" + values,
                              an({{7, "3s"}}) + " / linea  5 Error de Campo7: el contenido no es "
                                                "numerico"}));
    EXPECT_EQ(counters({8}), std::vector<int>{2});
}

TEST_F(NewbornsTest, NewbornSexIsComparedWithTheDiagnosis) {
    inst.add_cie10("N390", "M", "0", "0");
    run({an({{9, "1"}}), an({{9, "2"}}), an({{9, "M"}}), an({{11, "N390"}})});
    const std::string sexo = "Sexo no corresponde al DX";
    EXPECT_EQ(
        errors(),
        crlf({an({{9, "1"}}) +
                  " / linea  1 Error de Campo9: Los valores permitidos son M o F no 1," + sexo,
              an({{9, "2"}}) +
                  " / linea  2 Error de Campo9: Los valores permitidos son M o F no 2," + sexo,
              an({{11, "N390"}}) + " / linea  4 Error de " + sexo}));
    EXPECT_EQ(counters({9, 24}), (std::vector<int>{2, 3}));
}

TEST_F(NewbornsTest, DateOfDeath) {
    run({an({{13, "31/02/2026"}}), an({{13, "xx"}}), an({{13, "1/2/2026"}}),
         an({{12, "P070"}, {13, "05/11/2026"}}), an()});
    const std::string format = " Error de Campo13: Contenido no cumple con el formato de fecha";
    EXPECT_EQ(errors(), crlf({an({{13, "31/02/2026"}}) + " / linea  1" + format,
                              an({{13, "xx"}}) + " / linea  2" + format,
                              an({{13, "1/2/2026"}}) +
                                  " / linea  3 Error de Campo13 Fecha sin formato correcto"}));
    EXPECT_EQ(counters({13}), std::vector<int>{3});
    EXPECT_EQ(rows("SELECT causa_muerte, fecha_muerte, hora_muerte FROM nacidos ORDER BY rowid"),
              (std::vector<std::string>{"P070|2026-11-05|0000", "null|null|0000"}));
}

TEST_F(NewbornsTest, DiagnosisNormalisationAndReport) {
    inst.add_cie10("0A09", "A", "0", "0");
    run({an({{11, "A09"}}), an({{11, ""}}), an({{11, "Z999"}}), an({{7, "3s"}, {11, "Z999"}}),
         an({{7, "3s"}, {10, ""}, {11, "Z999"}})});
    const std::string unknown = "Diagnóstico del recién nacido: Z999 no existe en CIE10";
    EXPECT_EQ(errors(),
              crlf({an({{11, ""}}) + " / linea  2 Error de Campo11: Campo sin contenido",
                    an({{11, "Z999"}}) + " / linea  3 Error de " + unknown,
                    // A single field error before it: the unknown code goes unmentioned.
                    an({{7, "3s"}, {11, "Z999"}}) +
                        " / linea  4 Error de Campo7: el contenido no es numerico",
                    an({{7, "3s"}, {10, ""}, {11, "Z999"}}) +
                        " / linea  5 Error de Campo7: el contenido no es numerico, Campo10 : "
                        "Campo sin contenido, " +
                        unknown}));
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
