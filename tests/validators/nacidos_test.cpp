#include "validators/nacidos.h"

#include "service_file_fixture.h"

namespace corvela::testing {
namespace {

// A valid newborn record of the mother CC 52000111, with some fields replaced. The death hour
// is filled: an empty last field would end the line with a comma and fail its field count.
std::string an(const std::map<int, std::string>& changes = {}) {
    return record({"F001", kIps, "CC", "52000111", "01/11/2026", "0830", "38", "1", "F", "3200",
                   "P070", "", "", "0000"},
                  changes);
}

class NacidosTest : public ServiceFileTest {
  protected:
    void SetUp() override {
        open("AN000001.TXT");
        user("CC", "52000111", "F");
        inst.add_cie10("P070", "A", "0", "0");
    }
    Anacidos validator;
};

TEST_F(NacidosTest, BirthHour) {
    run(validator, {an({{6, ""}}), an({{6, "123456"}}), an({{6, "2510"}}), an({{6, "1075"}}),
                    an({{6, "2375"}})});
    std::vector<std::string> expected = {
        an({{6, ""}}) +
            " / linea  1 Error de Campo6: Con longitud mayor a la definida o no tiene contenido",
        an({{6, "123456"}}) +
            " / linea  2 Error de Campo6: Con longitud mayor a la definida o no tiene contenido",
        an({{6, "2510"}}) + " / linea  3 Error de Campo6: Formato de hora incorrecto",
        an({{6, "1075"}}) + " / linea  4 Error de Campo6:Formato de minutos incorrecto",
        an({{6, "2375"}}) + " / linea  5 Error de Campo6:Formato de minutos incorrecto",
    };
    EXPECT_EQ(error_lines(), expected);
    EXPECT_EQ(counter(6), 5);
}

TEST_F(NacidosTest, PrenatalControlAndGestationalAge) {
    run(validator,
        {an({{8, "3"}}), an({{8, "0"}}), an({{8, "1"}}), an({{8, "2"}}), an({{7, "3s"}})});
    std::vector<std::string> expected = {
        an({{8, "3"}}) +
            " / linea  1 Error de Campo8: Contenido no corresponde a los valores definidos",
        an({{8, "0"}}) +
            " / linea  2 Error de Campo8: Contenido no corresponde a los valores definidos",
        an({{7, "3s"}}) + " / linea  5 Error de Campo7: el contenido no es numerico",
    };
    EXPECT_EQ(error_lines(), expected);
    EXPECT_EQ(counter(8), 2);
}

TEST_F(NacidosTest, NewbornSexIsComparedWithTheDiagnosis) {
    inst.add_cie10("N390", "M", "0", "0");
    run(validator, {an({{9, "1"}}), an({{9, "2"}}), an({{9, "M"}}), an({{11, "N390"}})});
    std::vector<std::string> expected = {
        an({{9, "1"}}) +
            " / linea  1 Error de Campo9: Los valores permitidos son M o F no 1,Sexo no "
            "corresponde al DX",
        an({{9, "2"}}) +
            " / linea  2 Error de Campo9: Los valores permitidos son M o F no 2,Sexo no "
            "corresponde al DX",
        an({{11, "N390"}}) + " / linea  4 Error de Sexo no corresponde al DX",
    };
    EXPECT_EQ(error_lines(), expected);
    EXPECT_EQ(counter(9), 2);
    EXPECT_EQ(counter(24), 3);
}

TEST_F(NacidosTest, DateOfDeath) {
    run(validator, {an({{13, "31/02/2026"}}), an({{13, "xx"}}), an({{13, "1/2/2026"}}),
                    an({{12, "P070"}, {13, "05/11/2026"}}), an()});
    std::vector<std::string> expected = {
        an({{13, "31/02/2026"}}) +
            " / linea  1 Error de Campo13: Contenido no cumple con el formato de fecha",
        an({{13, "xx"}}) +
            " / linea  2 Error de Campo13: Contenido no cumple con el formato de fecha",
        an({{13, "1/2/2026"}}) + " / linea  3 Error de Campo13 Fecha sin formato correcto",
    };
    EXPECT_EQ(error_lines(), expected);
    EXPECT_EQ(counter(13), 3);
    auto stored = rows("nacidos", {"causa_muerte", "fecha_muerte", "hora_muerte"});
    std::vector<std::vector<std::string>> want = {{"P070", "2026-11-05", "0000"},
                                                  {"<null>", "<null>", "0000"}};
    EXPECT_EQ(stored, want);
}

TEST_F(NacidosTest, DiagnosisNormalisationAndReport) {
    inst.add_cie10("0A09", "A", "0", "0");
    run(validator, {an({{11, "A09"}}), an({{11, ""}}), an({{11, "Z999"}}),
                    an({{7, "3s"}, {11, "Z999"}}), an({{7, "3s"}, {10, ""}, {11, "Z999"}})});
    std::vector<std::string> expected = {
        an({{11, ""}}) + " / linea  2 Error de Campo11: Campo sin contenido",
        an({{11, "Z999"}}) +
            " / linea  3 Error de Diagnóstico del recién nacido: Z999 no existe en CIE10",
        // A single field error before it: the unknown code goes unmentioned.
        an({{7, "3s"}, {11, "Z999"}}) + " / linea  4 Error de Campo7: el contenido no es numerico",
        an({{7, "3s"}, {10, ""}, {11, "Z999"}}) +
            " / linea  5 Error de Campo7: el contenido no es numerico, Campo10 : Campo sin "
            "contenido, Diagnóstico del recién nacido: Z999 no existe en CIE10",
    };
    EXPECT_EQ(error_lines(), expected);
    EXPECT_EQ(counter(11), 3);
    auto stored = rows("nacidos", {"diag_rn"});
    std::vector<std::vector<std::string>> want = {{"0A09"}};
    EXPECT_EQ(stored, want);
}

TEST_F(NacidosTest, StoredRow) {
    run(validator, {an({{3, "cc"}, {5, "1-11-2026"}}), an({{3, "cc"}, {5, "02-11-2026"}})});
    auto stored =
        rows("nacidos", {"tipo_identificacion", "numero_identificacion", "fecha_naci", "HORA",
                         "edad_gestacional", "control_prena", "sexo", "peso", "num_radicacion"});
    std::vector<std::vector<std::string>> want = {
        {"cc", "52000111", "2026-11-02", "0830", "38", "1", "F", "3200", "0"}};
    EXPECT_EQ(stored, want);
    EXPECT_EQ(counter(5), 1);
}

TEST_F(NacidosTest, UnknownMother) {
    std::string line = an({{4, "99999999"}, {6, ""}});
    run(validator, {line});
    std::vector<std::string> expected = {
        line +
        " / linea  1 Error de No se relaciona con un usuario: el registro de usuario no "
        "existe o no paso la validación"};
    EXPECT_EQ(error_lines(), expected);
    EXPECT_EQ(counter(23), 1);
    EXPECT_EQ(counter(6), 0);
}

}  // namespace
}  // namespace corvela::testing
