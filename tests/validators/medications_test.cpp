#include "validators/medications.h"

#include "support/validator_test.h"

namespace corvela::testing {
namespace {

// A valid medications record of the user CC 16789012, with some fields replaced.
std::string am(const std::map<int, std::string>& changes = {}) {
    return record({"F001", kIps, "CC", "16789012", "", "M01", "1", "ACETAMINOFEN", "TABLETA",
                   "500MG", "MG", "10", "100", "1000"},
                  changes);
}

struct MedicationsTest : ValidatorTest<MedicationsValidator> {
    MedicationsTest() : ValidatorTest("AM000001.TXT") { user("CC", "16789012", "M"); }
};

TEST_F(MedicationsTest, DescriptiveFieldsRequiredOnlyForTypeTwo) {
    std::string forma = am({{7, "2"}, {9, ""}});
    std::string todos = am({{7, "2"}, {9, ""}, {10, ""}, {11, ""}});
    run({forma, todos, am({{7, "1"}, {8, ""}, {9, ""}, {10, ""}, {11, ""}})});
    const std::string tipo = ": No corresponde a lo definido en el tipo de medicamento";
    EXPECT_EQ(errors(), crlf({forma + " / linea  1 Error de Campo9" + tipo,
                              todos + " / linea  2 Error de Campo9" + tipo + ", Campo10 " + tipo +
                                  ", Campo11 " + tipo}));
    EXPECT_EQ(counters({9, 11}), (std::vector<int>{2, 1}));
    EXPECT_EQ(
        rows("SELECT nombre_medi, forma_farm, concentracion, unidad_medica FROM medicamentos"),
        std::vector<std::string>{" | | | "});
}

TEST_F(MedicationsTest, OverLongTextsAreCutNotReported) {
    // The unit of measure is cut only beyond 20 characters, to its own maximum length.
    inst.ref().exec("UPDATE R_Campos SET Long = 10 WHERE ARCHIVO = 'AM' AND id = 11");
    run({am({{8, std::string(35, 'N')}, {9, std::string(25, 'F')}, {11, "MILIGRAMOS POR ML"}}),
         am({{11, "MILIGRAMOS POR MILILITRO"}})});
    EXPECT_EQ(errors(), "");
    EXPECT_EQ(
        rows("SELECT nombre_medi, forma_farm, unidad_medica FROM medicamentos ORDER BY rowid"),
        (std::vector<std::string>{
            std::string(30, 'N') + "|" + std::string(20, 'F') + "|MILIGRAMOS POR ML",
            "ACETAMINOFEN|TABLETA|MILIGRAMOS"}));
}

TEST_F(MedicationsTest, TypeAndNumericFields) {
    run({am({{7, "3"}}), am({{7, "0"}}), am({{7, "x"}}), am({{12, "2a"}}), am({{13, ""}}),
         am({{12, "12"}})});
    const std::string values = " Error de Campo7: Contenido no corresponde a los valores definidos";
    EXPECT_EQ(errors(), crlf({am({{7, "3"}}) + " / linea  1" + values,
                              am({{7, "0"}}) + " / linea  2" + values,
                              am({{7, "x"}}) + " / linea  3" + values,
                              am({{12, "2a"}}) + " / linea  4 Error de Campo12: Contenido no es "
                                                 "numerico",
                              am({{13, ""}}) + " / linea  5 Error de Campo13: Contenido no es "
                                               "numerico"}));
    EXPECT_EQ(counters({7}), std::vector<int>{3});
    EXPECT_EQ(rows("SELECT unidades, valor_unitario, valor_total FROM medicamentos"),
              std::vector<std::string>{"12|100|1000"});
}

TEST_F(MedicationsTest, StoredRowTakesTheServiceDateOfTheRun) {
    ctx->service_date = "01/3/2026";
    run({am({{3, "cc"}, {5, "AUT1"}})});
    ctx->service_date.clear();
    run({am({{6, ""}})});
    EXPECT_EQ(rows("SELECT tipo_identificacion, num_autorizacion, cod_medicamento, "
                   "num_radicacion, fecha FROM medicamentos ORDER BY rowid"),
              (std::vector<std::string>{"CC|AUT1|M01|0|2026-03-01", "CC|null|null|0|"}));
}

TEST_F(MedicationsTest, CedulaWithLetters) {
    user("CC", "12A45678", "F");
    run({am({{4, "12A45678"}})});
    EXPECT_EQ(errors(), crlf({am({{4, "12A45678"}}) +
                              " / linea  1 Error de Campo4 Valor del campo debe ser numerico, "
                              "Numero de Identificación es tipo cedula y no es numerico"}));
    EXPECT_EQ(counters({22}), std::vector<int>{1});
}

}  // namespace
}  // namespace corvela::testing
