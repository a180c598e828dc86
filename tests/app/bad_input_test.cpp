// Input a delivery should not contain: other encodings, SQL text, binary bytes, and files or
// rows that cannot be written.
#include <gtest/gtest.h>

#include "support/session.h"

namespace corvela::testing {
namespace {

struct BadInput : SessionTest {
    BadInput() { control({"760010012301,01/11/2026,US000001,9"}); }
};

TEST_F(BadInput, Windows1252FileIsWrittenBackInItsOwnBytes) {
    std::string good = "CC,123456,EPS005,1,MU\xD1OZ,,ANA,,30,1,M,76,001,U";
    std::string bad = "CC,123457,EPS005,1,MU\xD1OZ,,ANA,,30,1,X,76,001,U";
    inst.write("US000001.TXT", good + "\r" + bad + "\n");
    EXPECT_EQ(run(), RunOutcome::Summary);
    EXPECT_EQ(inst.result("760010012301_US000001.TXT"), good + "\r\n");
    EXPECT_EQ(
        inst.result("760010012301_US000001.ERR"),
        bad + "  / linea  2 Error de Campo11: Contenido no cumple con los valores definidos\r\n");
    EXPECT_EQ(inst.rows("SELECT primer_apellido FROM usuario"), std::vector<std::string>{"MUÑOZ"});
}

TEST_F(BadInput, QuotesAndSqlTextAreDataNotStatements) {
    inst.write("US000001.TXT", crlf({"CC,123456,EPS005,1,O'NEIL,\"X\";--,ANA,,30,1,M,76,001,U",
                                     "CC' OR '1'='1,123457,EPS005,1,A,,B,,30,1,M,76,001,U",
                                     "CC,123458,EPS005,1,A,,B,,30,1,M,76,x' OR '1'='1,U"}));
    EXPECT_EQ(run(), RunOutcome::Summary);
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
    EXPECT_EQ(run(), RunOutcome::Summary);
    std::string errors = inst.result("760010012301_US000001.ERR");
    EXPECT_EQ(errors.substr(0, garbage.size()), garbage);
    EXPECT_NE(errors.find("Linea  2 Error de Estructura del registro en campos"),
              std::string::npos);
    EXPECT_EQ(count("SELECT 1 FROM usuario"), 1);
}

TEST_F(BadInput, UnwritableOutputEndsThatFileAndTheRunGoesOn) {
    control({"760010012301,01/11/2026,US000001,1", "760010012301,01/11/2026,AD000001,1"});
    inst.write("US000001.TXT", crlf({"CC,123456,EPS005,1,A,,B,,30,1,M,76,001,U"}));
    std::filesystem::create_directory(inst.results());
    // The accepted-lines file of AD cannot be created: a folder stands in its place.
    std::filesystem::create_directory(inst.results() + "760010012301_AD000001.TXT");
    inst.write("AD000001.TXT", crlf({"F1,760010012301,01,2,,700"}));
    EXPECT_EQ(run(), RunOutcome::Summary);
    ASSERT_NE(shown("Error"), nullptr);
    EXPECT_EQ(shown("Error")->text.rfind(
                  "Se presento el Error #  21 al leer archivo de Descripción Agrupada \r\r", 0),
              0u);
    EXPECT_EQ(count("SELECT 1 FROM ERRORES WHERE tipo = 'AD'"), 1);
    EXPECT_EQ(ui.messages.back().title, "Resumén de la validación.");
}

TEST_F(BadInput, DatabaseFailureEndsTheFileAndTheRunGoesOn) {
    inst.add_cie10("J189", "A", "0", "0");
    inst.work().exec(
        "CREATE TRIGGER falla_urgencias BEFORE INSERT ON urgencias WHEN NEW.num_factura = "
        "'BOOM' BEGIN SELECT RAISE(ABORT, 'falla'); END");
    const std::string head = std::string(kIps) + ",01/11/2026,";
    control({head + "US000001,1", head + "AU000001,3", head + "AM000001,1"});
    inst.write("US000001.TXT",
               crlf({"CC,16789012,EPS005,1,GOMEZ,PEREZ,CARLOS,ANDRES,45,1,M,76,001,U"}));
    const std::string au = ",CC,16789012,01/11/2026,0830,,13,J189,,,,1,1,,02/11/2026,1000";
    inst.write("AU000001.TXT",
               crlf({"F001," + std::string(kIps) + au, "BOOM," + std::string(kIps) + au,
                     "F003," + std::string(kIps) + au}));
    inst.write("AM000001.TXT", crlf({"F001," + std::string(kIps) +
                                     ",CC,16789012,,M01,1,ACETAMINOFEN,,,,10,100,1000"}));
    EXPECT_EQ(run(), RunOutcome::Summary);
    std::vector<ShownMessage> errors;
    for (const auto& m : ui.messages)
        if (m.title == "Error") errors.push_back(m);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].text, "Se presento el Error #  19 al leer archivo de Urgencias \r\rfalla");
    EXPECT_EQ(errors[0].icon, Icon::Critical);
    EXPECT_EQ(inst.rows("SELECT num_factura FROM urgencias"), std::vector<std::string>{"F001"});
    EXPECT_EQ(inst.rows("SELECT count(*), sum(C1) FROM ERRORES WHERE tipo = 'AU'"),
              std::vector<std::string>{"1|0"});
    EXPECT_EQ(count("SELECT 1 FROM medicamentos"), 1);
}

}  // namespace
}  // namespace corvela::testing
