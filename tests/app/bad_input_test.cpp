#include <gtest/gtest.h>

#include "support/installation.h"

namespace corvela {
namespace {

using testing::crlf;

struct BadInput : ::testing::Test {
    testing::Installation inst;
    testing::ScriptedUi ui;
    void SetUp() override {
        inst.write("CT000001.TXT", crlf({"760010012301,01/11/2026,US000001,9"}));
    }
};

TEST_F(BadInput, Windows1252FileIsWrittenBackInItsOwnBytes) {
    std::string good = "CC,123456,EPS005,1,MU\xD1OZ,,ANA,,30,1,M,76,001,U";
    std::string bad = "CC,123457,EPS005,1,MU\xD1OZ,,ANA,,30,1,X,76,001,U";
    inst.write("US000001.TXT", good + "\r" + bad + "\n");
    EXPECT_EQ(inst.validate(ui), RunOutcome::Summary);
    EXPECT_EQ(inst.result("760010012301_US000001.TXT"), good + "\r\n");
    EXPECT_EQ(
        inst.result("760010012301_US000001.ERR"),
        bad + "  / linea  2 Error de Campo11: Contenido no cumple con los valores definidos\r\n");
    SQLite::Statement st(inst.work().db(), "SELECT primer_apellido FROM usuario");
    ASSERT_TRUE(st.executeStep());
    EXPECT_EQ(st.getColumn(0).getString(), "MUÑOZ");
}

TEST_F(BadInput, QuotesAndSqlTextAreDataNotStatements) {
    inst.write("US000001.TXT", crlf({"CC,123456,EPS005,1,O'NEIL,\"X\";--,ANA,,30,1,M,76,001,U",
                                     "CC' OR '1'='1,123457,EPS005,1,A,,B,,30,1,M,76,001,U",
                                     "CC,123458,EPS005,1,A,,B,,30,1,M,76,x' OR '1'='1,U"}));
    EXPECT_EQ(inst.validate(ui), RunOutcome::Summary);
    EXPECT_EQ(
        inst.work().count("SELECT 1 FROM usuario WHERE primer_apellido = ?", std::string("O'NEIL")),
        1);
    std::string errors = inst.result("760010012301_US000001.ERR");
    EXPECT_EQ(errors.find("linea  1 "), std::string::npos) << errors;
    EXPECT_NE(errors.find("linea  2 Error de Campo1: Con longitud mayor a la definida"),
              std::string::npos);
    EXPECT_NE(errors.find("linea  3 Error de Campo13: Con longitud mayor o menor a la definida"),
              std::string::npos);
}

TEST_F(BadInput, BinaryGarbageAndNulBytesAreReportedLineByLine) {
    std::string garbage("\x00\x01\xff\xfe,\x00,,", 8);
    inst.write("US000001.TXT", garbage + "\r\n" + std::string(3000, ',') + "\r\n" +
                                   crlf({"CC,123456,EPS005,1,A,,B,,30,1,M,76,001,U"}));
    EXPECT_EQ(inst.validate(ui), RunOutcome::Summary);
    std::string errors = inst.result("760010012301_US000001.ERR");
    EXPECT_EQ(errors.substr(0, garbage.size()), garbage);
    EXPECT_NE(errors.find("Linea  2 Error de Estructura del registro en campos"),
              std::string::npos);
    EXPECT_EQ(inst.work().count("SELECT 1 FROM usuario"), 1);
}

TEST_F(BadInput, UnreadableDataFileIsReportedAndTheRunGoesOn) {
    inst.write("CT000001.TXT",
               crlf({"760010012301,01/11/2026,US000001,1", "760010012301,01/11/2026,AD000001,1"}));
    inst.write("US000001.TXT", crlf({"CC,123456,EPS005,1,A,,B,,30,1,M,76,001,U"}));
    std::filesystem::create_directory(inst.results());
    // The accepted-lines file of AD cannot be created: a folder stands in its place.
    std::filesystem::create_directory(inst.results() + "760010012301_AD000001.TXT");
    inst.write("AD000001.TXT", crlf({"F1,760010012301,01,2,,700"}));
    EXPECT_EQ(inst.validate(ui), RunOutcome::Summary);
    bool reported = false;
    for (auto& m : ui.messages)
        reported =
            reported ||
            (m.title == "Error" &&
             m.text.rfind("Se presento el Error #  21 al leer archivo de Descripción Agrupada \r\r",
                          0) == 0);
    EXPECT_TRUE(reported);
    EXPECT_EQ(inst.work().count("SELECT 1 FROM ERRORES WHERE tipo = 'AD'"), 1);
    EXPECT_EQ(ui.messages.back().title, "Resumén de la validación.");
}

}  // namespace
}  // namespace corvela
