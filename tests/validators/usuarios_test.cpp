#include "validators/usuarios.h"

#include <gtest/gtest.h>

#include "support/installation.h"

namespace corvela {
namespace {

using testing::crlf;

struct Users : ::testing::Test {
    testing::Installation inst;
    testing::ScriptedUi ui;
    testing::FixedClock clock{{2026, 12, 6}};

    FileCounts run(const std::string& bytes) {
        inst.write("US000001.TXT", bytes);
        auto ctx = inst.context(ui, clock, "US000001.TXT");
        Ausuarios v;
        return leer_archivo(*ctx, v, inst.delivery / "US000001.TXT");
    }
    std::string errors() { return inst.result(std::string(testing::kIps) + "_US000001.ERR"); }
    std::string accepted() { return inst.result(std::string(testing::kIps) + "_US000001.TXT"); }
};

TEST_F(Users, LetterTypeIsStoredAsItsDigitInRowAndAcceptedLine) {
    auto counts = run(crlf({"CC,123456,EPS005,C,GOMEZ,,ANA,,30,1,m,76,001,U"}));
    EXPECT_EQ(counts.lineas_validas, 1);
    EXPECT_EQ(accepted(), crlf({"CC,123456,EPS005,1,GOMEZ,,ANA,,30,1,m,76,001,U"}));
    SQLite::Statement st(inst.work().db(),
                         "SELECT tipo_usuario, sexo, segundo_apellido, edad FROM usuario");
    ASSERT_TRUE(st.executeStep());
    EXPECT_EQ(st.getColumn(0).getString(), "1");
    EXPECT_EQ(st.getColumn(1).getString(), "M");
    EXPECT_TRUE(st.getColumn(2).isNull());
    EXPECT_EQ(st.getColumn(3).getDouble(), 30);
}

TEST_F(Users, ErrorLinesWithTheirOwnSeparators) {
    run(crlf({"CC,123456,,1,GOMEZ,,ANA,,130,1,X,76,001,NULL", "",
              "CC,123456,EPS005,1,GOMEZ,,ANA,,30,1,M,76,001",
              "CC,1234567-8,EPS005,1,GOMEZ,,ANA,,30,1,M,05,001,U"}));
    EXPECT_EQ(
        errors(),
        crlf({"CC,123456,,1,GOMEZ,,ANA,,130,1,X,76,001,NULL  / linea  1 Error de  C3 no puede "
              "ser blanco o vacio, Campo11 : Contenido no cumple con los valores definidos, "
              "Campo14 : Campo sin contenido, Unidad de medida de la edad no concuerda",
              "Linea  2 Error de Estructura del registro en campos",
              "CC,123456,EPS005,1,GOMEZ,,ANA,,30,1,M,76,001 / linea  3 Error de Estructura: "
              "Tiene un numero mayor de campos",
              "CC,1234567-8,EPS005,1,GOMEZ,,ANA,,30,1,M,05,001,U  / linea  4 Error de Campo2 "
              "Valor del campo debe ser numerico, Código del departamento y Código de "
              "municipio no concuerda"}));
    SQLite::Statement st(inst.work().db(), "SELECT C3, C11, C14, C21, C22, C23, C24 FROM ERRORES");
    ASSERT_TRUE(st.executeStep());
    std::vector<int> c;
    for (int i = 0; i < 7; ++i) c.push_back(st.getColumn(i).getInt());
    EXPECT_EQ(c, (std::vector<int>{1, 1, 1, 2, 0, 1, 1}));
}

TEST_F(Users, CedulaOfLettersCountsTwiceUnder22) {
    run(crlf({"CC,ABCDEFG,EPS005,1,GOMEZ,,ANA,,30,1,M,76,001,U"}));
    EXPECT_EQ(errors(),
              crlf({"CC,ABCDEFG,EPS005,1,GOMEZ,,ANA,,30,1,M,76,001,U  / linea  1 Error de "
                    "Campo2 Valor del campo debe ser numerico, Numero de Identificación es "
                    "tipo cedula y no es numerico, Numero de Identificación es tipo cedula "
                    "y no es numerico"}));
    EXPECT_EQ(inst.work().count("SELECT 1 FROM ERRORES WHERE C22 = 2"), 1);
}

TEST_F(Users, RepeatedUserPassesButIsStoredOnce) {
    auto counts = run(crlf({"CC,00123456,EPS005,1,A,,B,,30,1,M,76,001,U",
                            "cc,123456,EPS005,1,A,,B,,30,1,M,76,001,U",
                            "CC,123456,EPS005,1,A,,B,,30,1,M,76,001,U"}));
    EXPECT_EQ(counts.lineas_leidas, 3);
    EXPECT_EQ(counts.lineas_validas, 3);
    EXPECT_EQ(inst.work().count("SELECT 1 FROM usuario"), 1);
}

TEST_F(Users, AgeAndUnitLimits) {
    run(crlf({"CC,1234561,EPS005,4,A,,B,,-3,1,M,76,001,U", "RC,1234567890,,4,A,,B,,12,2,M,76,001,U",
              "RC,1234567891,,4,A,,B,,13,2,M,76,001,U", "RC,1234567892,,4,A,,B,,31,3,M,76,001,U"}));
    std::string e = errors();
    EXPECT_NE(e.find(", Campo9 : Edad con valor negativo"), std::string::npos);
    EXPECT_EQ(e.find("linea  2 "), std::string::npos);
    EXPECT_NE(e.find("/ linea  3 Error de Unidad de medida de la edad no concuerda"),
              std::string::npos);
    EXPECT_EQ(e.find("linea  4 "), std::string::npos);
}

TEST_F(Users, AnEmptyFileStillGetsItsErroresRow) {
    auto counts = run("");
    EXPECT_EQ(counts.lineas_leidas, 0);
    EXPECT_EQ(inst.work().count("SELECT 1 FROM ERRORES WHERE tipo = 'US' AND C21 = 0"), 1);
    EXPECT_EQ(errors(), "");
}

TEST_F(Users, LongestLineIsCheckedOneMoreIsAStructureError) {
    // The field maxima of the users file add up to 140 characters.
    std::string line = "CC,123456,EPS005,1,GOMEZ,,ANA,,30,1,M,76,001,U";
    std::string padded = line + std::string(140, ' ');
    std::string base = "CC,123456,EPS005,1,,,ANA,,30,1,M,76,001,U";
    std::string at_limit =
        base.substr(0, 19) + std::string(140 - base.size(), 'A') + base.substr(19);
    ASSERT_EQ(at_limit.size(), 140u);
    run(crlf({padded, at_limit, at_limit + "A"}));
    std::string e = errors();
    EXPECT_EQ(e.find("linea  1 "), std::string::npos);  // blanks around the line do not count
    EXPECT_NE(e.find("  / linea  2 Error de Campo5: Con longitud mayor a la definida"),
              std::string::npos);
    EXPECT_NE(e.find("Linea  3 Error de Estructura del registro en campos"), std::string::npos);
}

}  // namespace
}  // namespace corvela
