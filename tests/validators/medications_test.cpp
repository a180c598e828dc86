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

TEST_F(MedicationsTest, FieldRulesTheirTextsAndCounters) {
    user("CC", "12A45678", "F");
    const std::string tipo = ": No corresponde a lo definido en el tipo de medicamento";
    const std::string values = "Campo7: Contenido no corresponde a los valores definidos";
    auto counts = expect_errors({
        // The descriptive fields are required only of a medication of type 2.
        {am({{7, "2"}, {9, ""}}), "Campo9" + tipo},
        {am({{7, "2"}, {9, ""}, {10, ""}, {11, ""}}),
         "Campo9" + tipo + ", Campo10 " + tipo + ", Campo11 " + tipo},
        {am({{7, "1"}, {8, ""}, {9, ""}, {10, ""}, {11, ""}}), ""},
        {am({{7, "3"}}), values},
        {am({{7, "0"}}), values},
        {am({{7, "x"}}), values},
        {am({{12, "2a"}}), "Campo12: Contenido no es numerico"},
        {am({{13, ""}}), "Campo13: Contenido no es numerico"},
        {am({{12, "12"}}), ""},
        {am({{4, "12A45678"}}),
         "Campo4 Valor del campo debe ser numerico, Numero de Identificación es tipo cedula y no "
         "es numerico"},
    });
    EXPECT_EQ(counts.lines_passed, 2);
    EXPECT_EQ(counters({7, 9, 11, 22}), (std::vector<int>{3, 2, 1, 1}));
    EXPECT_EQ(
        rows("SELECT nombre_medi, forma_farm, concentracion, unidad_medica, unidades, "
             "valor_total FROM medicamentos ORDER BY rowid"),
        (std::vector<std::string>{" | | | |10|1000", "ACETAMINOFEN|TABLETA|500MG|MG|12|1000"}));
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

TEST_F(MedicationsTest, StoredRowTakesTheServiceDateOfTheRun) {
    ctx->service_date = "01/3/2026";
    run({am({{3, "cc"}, {5, "AUT1"}})});
    ctx->service_date.clear();
    run({am({{6, ""}})});
    EXPECT_EQ(rows("SELECT tipo_identificacion, num_autorizacion, cod_medicamento, "
                   "num_radicacion, fecha FROM medicamentos ORDER BY rowid"),
              (std::vector<std::string>{"CC|AUT1|M01|0|2026-03-01", "CC|null|null|0|"}));
}

}  // namespace
}  // namespace corvela::testing
