#include "validators/users.h"

#include "platform/encoding.h"
#include "support/validator_test.h"

namespace corvela::testing {
namespace {

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

TEST_F(UsersTest, RepeatedUserPassesButIsStoredOnce) {
    auto counts = run({"CC,00123456,EPS005,1,A,,B,,30,1,M,76,001,U",
                       "cc,123456,EPS005,1,A,,B,,30,1,M,76,001,U",
                       "CC,123456,EPS005,1,A,,B,,30,1,M,76,001,U"});
    EXPECT_EQ(counts.lines_passed, 3);
    EXPECT_EQ(inst.work().count("SELECT 1 FROM usuario"), 1);
}

TEST_F(UsersTest, AgeAndUnitLimits) {
    run({"CC,1234561,EPS005,4,A,,B,,-3,1,M,76,001,U", "RC,1234567890,,4,A,,B,,12,2,M,76,001,U",
         "RC,1234567891,,4,A,,B,,13,2,M,76,001,U", "RC,1234567892,,4,A,,B,,31,3,M,76,001,U"});
    std::string e = errors();
    EXPECT_NE(e.find(", Campo9 : Edad con valor negativo"), std::string::npos);
    EXPECT_EQ(e.find("linea  2 "), std::string::npos);
    EXPECT_NE(e.find("/ linea  3 Error de Unidad de medida de la edad no concuerda"),
              std::string::npos);
    EXPECT_EQ(e.find("linea  4 "), std::string::npos);
}

TEST_F(UsersTest, AnEmptyFileStillGetsItsErroresRow) {
    EXPECT_EQ(run_bytes("").lines_read, 0);
    EXPECT_EQ(inst.work().count("SELECT 1 FROM ERRORES WHERE tipo = 'US' AND C21 = 0"), 1);
    EXPECT_EQ(errors(), "");
}

TEST_F(UsersTest, LongestLineIsCheckedOneMoreIsAStructureError) {
    // The field maxima of the users file add up to 140 characters; blanks around a line do not
    // count.
    std::string base = "CC,123456,EPS005,1,,,ANA,,30,1,M,76,001,U";
    std::string at_limit =
        base.substr(0, 19) + std::string(140 - base.size(), 'A') + base.substr(19);
    ASSERT_EQ(at_limit.size(), 140u);
    run({"CC,123456,EPS005,1,GOMEZ,,ANA,,30,1,M,76,001,U" + std::string(140, ' '), at_limit,
         at_limit + "A"});
    std::string e = errors();
    EXPECT_EQ(e.find("linea  1 "), std::string::npos);
    EXPECT_NE(e.find("  / linea  2 Error de Campo5: Con longitud mayor a la definida"),
              std::string::npos);
    EXPECT_NE(e.find("Linea  3 Error de Estructura del registro en campos"), std::string::npos);
}

}  // namespace
}  // namespace corvela::testing
