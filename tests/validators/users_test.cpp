#include "validators/users.h"

#include "platform/encoding.h"
#include "support/validator_test.h"

namespace corvela::testing {
namespace {

const std::vector<std::string> kUser = {"CC", "16789012", "EPS005", "1", "GOMEZ", "",    "ANA",
                                        "",   "45",       "1",      "F", "76",    "001", "U"};

struct UsersTest : ValidatorTest<UsersValidator> {
    UsersTest() : ValidatorTest("US000001.TXT") {}
};

TEST_F(UsersTest, LetterTypeIsStoredAsItsDigitInRowAndAcceptedLine) {
    auto counts = run({"CC,123456,EPS005,C,GOMEZ,,ANA,,30,1,m,76,001,U"});
    EXPECT_EQ(counts.lines_passed, 1);
    EXPECT_EQ(accepted(), crlf({"CC,123456,EPS005,1,GOMEZ,,ANA,,30,1,m,76,001,U"}));
    EXPECT_EQ(rows("SELECT tipo_usuario, sexo, segundo_apellido, edad FROM usuario"),
              std::vector<std::string>{"1|M|null|30"});
}

TEST_F(UsersTest, ErrorLinesWithTheirOwnSeparators) {
    // A Windows-1252 file: its whole error file, texts included, is written in that encoding.
    run({"CC,123456,,1,MU\xD1OZ,,ANA,,130,1,X,76,001,NULL", "",
         "CC,123456,EPS005,1,GOMEZ,,ANA,,30,1,M,76,001",
         "CC,1234567-8,EPS005,1,GOMEZ,,ANA,,30,1,M,05,001,U",
         "CC,ABCDEFG,EPS005,1,GOMEZ,,ANA,,30,1,M,76,001,U",
         "CC,123456,EPS005,1,GOMEZ,,ANA,,30,1,M,7,001,U"});
    EXPECT_EQ(
        errors(),
        utf8_to_windows1252(crlf(
            {"CC,123456,,1,MUÑOZ,,ANA,,130,1,X,76,001,NULL  / linea  1 Error de  C3 no puede "
             "ser blanco o vacio, Campo11 : Contenido no cumple con los valores definidos, "
             "Campo14 : Campo sin contenido, Unidad de medida de la edad no concuerda",
             "Linea  2 Error de Estructura del registro en campos",
             "CC,123456,EPS005,1,GOMEZ,,ANA,,30,1,M,76,001 / linea  3 Error de Estructura: "
             "Tiene un numero mayor de campos",
             "CC,1234567-8,EPS005,1,GOMEZ,,ANA,,30,1,M,05,001,U  / linea  4 Error de Campo2 "
             "Valor del campo debe ser numerico, Código del departamento y Código de "
             "municipio no concuerda",
             // A cedula of letters is reported, and counted, twice.
             "CC,ABCDEFG,EPS005,1,GOMEZ,,ANA,,30,1,M,76,001,U  / linea  5 Error de Campo2 Valor "
             "del campo debe ser numerico, Numero de Identificación es tipo cedula y no es "
             "numerico, Numero de Identificación es tipo cedula y no es numerico",
             // A field of fixed length one character short.
             "CC,123456,EPS005,1,GOMEZ,,ANA,,30,1,M,7,001,U  / linea  6 Error de Campo12: Con "
             "longitud mayor o menor a la definida"})));
    EXPECT_EQ(counters({3, 11, 12, 14, 21, 22, 23, 24}),
              (std::vector<int>{1, 1, 1, 1, 2, 2, 1, 1}));
}

TEST_F(UsersTest, AgeAndUnitLimitsAndARepeatedUserStoredOnce) {
    const std::string unit = "Unidad de medida de la edad no concuerda";
    auto counts = expect_errors(
        {{"CC,1234561,EPS005,4,A,,B,,-3,1,M,76,001,U",
          "Campo1 Documento no corresponde a la edad, Campo9 : Edad con valor negativo"},
         {"RC,1234567890,,4,A,,B,,12,2,M,76,001,U", ""},
         {"RC,1234567891,,4,A,,B,,13,2,M,76,001,U", unit},
         {"RC,1234567892,,4,A,,B,,31,3,M,76,001,U", ""},
         {"CC,00123456,EPS005,1,A,,B,,30,1,M,76,001,U", ""},
         {"cc,123456,EPS005,1,A,,B,,30,1,M,76,001,U", ""}},
        "  / ");
    EXPECT_EQ(counts.lines_passed, 4);
    EXPECT_EQ(rows("SELECT numero_identificacion FROM usuario ORDER BY rowid"),
              (std::vector<std::string>{"1234567890", "1234567892", "123456"}));
}

TEST_F(UsersTest, ALineLongerThanItsFieldsAllowIsAStructureErrorHoweverLong) {
    // The field maxima of the users file add up to 140 characters; blanks around a line do not
    // count.
    const std::string base = "CC,123456,EPS005,1,,,ANA,,30,1,M,76,001,U";
    const std::string at_limit =
        base.substr(0, 19) + std::string(140 - base.size(), 'A') + base.substr(19);
    ASSERT_EQ(at_limit.size(), 140u);
    const std::string good = "CC,123456,EPS005,1,GOMEZ,,ANA,,30,1,M,76,001,U";
    auto counts =
        run({good + std::string(140, ' '), at_limit, at_limit + "A", std::string(50u << 20, 'A'),
             std::string(100000, ','), "CC," + std::string(10000, '9') + ",EPS005"});
    EXPECT_EQ(counts.lines_read, 6);
    const std::string structure = " Error de Estructura del registro en campos";
    EXPECT_EQ(errors(), crlf({at_limit + "  / linea  2 Error de Campo5: Con longitud mayor a la "
                                         "definida",
                              "Linea  3" + structure, "Linea  4" + structure,
                              "Linea  5" + structure, "Linea  6" + structure}));
    EXPECT_EQ(accepted(), crlf({good}));
    EXPECT_EQ(counters({21}), std::vector<int>{4});
}

// Statement texts never pass a code's lookup, and identification numbers are stored as given.
TEST_F(UsersTest, StatementTextsNeverPassALookupAndAreStoredAsGiven) {
    const std::string undefined = ": No esta definido en los parametros";
    std::vector<Line> lines;
    for (const auto& v : kInjections) lines.push_back({record(kUser, {{1, "PA"}, {2, v}}), ""});
    for (const auto& v : kInjections) {
        // Document type (2 characters at most) and user type (exactly 1).
        lines.push_back(
            {record(kUser, {{1, v}}),
             "Campo1" + (v.size() > 2 ? ": Con longitud mayor a la definida" : undefined)});
        lines.push_back(
            {record(kUser, {{4, v}}),
             "Campo4" + (v.size() > 1 ? ": Con longitud mayor o menor a la definida" : undefined)});
    }
    // Municipalities of exactly three characters.
    for (const std::string v : {"';'", "--1", "\"1\""})
        lines.push_back({record(kUser, {{13, v}}),
                         "Código del departamento y Código de municipio no concuerda"});
    EXPECT_EQ(expect_errors(lines, "  / ").lines_passed, 5);
    EXPECT_EQ(rows("SELECT numero_identificacion FROM usuario ORDER BY rowid"), kInjections);
}

}  // namespace
}  // namespace corvela::testing
