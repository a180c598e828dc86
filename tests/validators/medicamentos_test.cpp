#include "validators/medicamentos.h"

#include "service_file_fixture.h"

namespace corvela::testing {
namespace {

// A valid medications record of the user CC 16789012, with some fields replaced.
std::string am(const std::map<int, std::string>& changes = {}) {
    return record({"F001", kIps, "CC", "16789012", "", "M01", "1", "ACETAMINOFEN", "TABLETA",
                   "500MG", "MG", "10", "100", "1000"},
                  changes);
}

class MedicamentosTest : public ServiceFileTest {
  protected:
    void SetUp() override {
        open("AM000001.TXT");
        user("CC", "16789012", "M");
    }
    Amedicamentos validator;
};

TEST_F(MedicamentosTest, DescriptiveFieldsRequiredOnlyForTypeTwo) {
    std::string forma = am({{7, "2"}, {9, ""}});
    std::string todos = am({{7, "2"}, {9, ""}, {10, ""}, {11, ""}});
    run(validator, {forma, todos, am({{7, "1"}, {8, ""}, {9, ""}, {10, ""}, {11, ""}})});
    std::vector<std::string> expected = {
        forma +
            " / linea  1 Error de Campo9: No corresponde a lo definido en el tipo de medicamento",
        todos +
            " / linea  2 Error de Campo9: No corresponde a lo definido en el tipo de "
            "medicamento, Campo10 : No corresponde a lo definido en el tipo de medicamento, "
            "Campo11 : No corresponde a lo definido en el tipo de medicamento",
    };
    EXPECT_EQ(error_lines(), expected);
    EXPECT_EQ(counter(9), 2);
    EXPECT_EQ(counter(11), 1);
    auto stored =
        rows("medicamentos", {"nombre_medi", "forma_farm", "concentracion", "unidad_medica"});
    std::vector<std::vector<std::string>> want = {{" ", " ", " ", " "}};
    EXPECT_EQ(stored, want);
}

TEST_F(MedicamentosTest, OverLongTextsAreCutNotReported) {
    // The unit of measure is cut only beyond 20 characters, to its own maximum length.
    inst.ref().exec("UPDATE R_Campos SET Long = 10 WHERE ARCHIVO = 'AM' AND id = 11");
    std::string name(35, 'N');
    run(validator, {am({{8, name}, {9, std::string(25, 'F')}, {11, "MILIGRAMOS POR ML"}}),
                    am({{11, "MILIGRAMOS POR MILILITRO"}})});
    EXPECT_TRUE(error_lines().empty());
    auto stored = rows("medicamentos", {"nombre_medi", "forma_farm", "unidad_medica"});
    std::vector<std::vector<std::string>> want = {
        {std::string(30, 'N'), std::string(20, 'F'), "MILIGRAMOS POR ML"},
        {"ACETAMINOFEN", "TABLETA", "MILIGRAMOS"}};
    EXPECT_EQ(stored, want);
}

TEST_F(MedicamentosTest, TypeAndNumericFields) {
    run(validator, {am({{7, "3"}}), am({{7, "0"}}), am({{7, "x"}}), am({{12, "2a"}}),
                    am({{13, ""}}), am({{12, "12"}})});
    std::vector<std::string> expected = {
        am({{7, "3"}}) +
            " / linea  1 Error de Campo7: Contenido no corresponde a los valores definidos",
        am({{7, "0"}}) +
            " / linea  2 Error de Campo7: Contenido no corresponde a los valores definidos",
        am({{7, "x"}}) +
            " / linea  3 Error de Campo7: Contenido no corresponde a los valores definidos",
        am({{12, "2a"}}) + " / linea  4 Error de Campo12: Contenido no es numerico",
        am({{13, ""}}) + " / linea  5 Error de Campo13: Contenido no es numerico",
    };
    EXPECT_EQ(error_lines(), expected);
    EXPECT_EQ(counter(7), 3);
    auto stored = rows("medicamentos", {"unidades", "valor_unitario", "valor_total"});
    std::vector<std::vector<std::string>> want = {{"12", "100", "1000"}};
    EXPECT_EQ(stored, want);
}

TEST_F(MedicamentosTest, StoredRowTakesTheServiceDateOfTheRun) {
    ctx->fecha_atencion = "01/3/2026";
    run(validator, {am({{3, "cc"}, {5, "AUT1"}})});
    ctx->fecha_atencion.clear();
    run(validator, {am({{6, ""}})});
    auto stored = rows("medicamentos", {"tipo_identificacion", "num_autorizacion",
                                        "cod_medicamento", "num_radicacion", "fecha"});
    std::vector<std::vector<std::string>> want = {{"CC", "AUT1", "M01", "0", "2026-03-01"},
                                                  {"CC", "<null>", "<null>", "0", ""}};
    EXPECT_EQ(stored, want);
}

TEST_F(MedicamentosTest, UserAndCedulaTests) {
    user("CC", "12A45678", "F");
    std::string unknown = am({{4, "99999999"}, {7, "9"}});
    run(validator, {unknown, am({{4, "12A45678"}})});
    std::vector<std::string> expected = {
        unknown +
            " / linea  1 Error de No se relaciona con un usuario: el registro de usuario no "
            "existe o no paso la validación",
        am({{4, "12A45678"}}) +
            " / linea  2 Error de Campo4 Valor del campo debe ser numerico, "
            "Numero de Identificación es tipo cedula y no es numerico",
    };
    EXPECT_EQ(error_lines(), expected);
    EXPECT_EQ(counter(23), 1);
    EXPECT_EQ(counter(22), 1);
    EXPECT_EQ(counter(7), 0);
}

}  // namespace
}  // namespace corvela::testing
