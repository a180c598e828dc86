#include "validators/urgencias.h"

#include "service_file_fixture.h"

namespace corvela::testing {
namespace {

// A valid emergencies record of the user CC 16789012, with some fields replaced.
std::string au(const std::map<int, std::string>& changes = {}) {
    return record({"F001", kIps, "CC", "16789012", "01/11/2026", "0830", "", "13", "J189", "", "",
                   "", "1", "1", "", "02/11/2026", "1000"},
                  changes);
}

class UrgenciasTest : public ServiceFileTest {
  protected:
    void SetUp() override {
        open("AU000001.TXT");
        user("CC", "16789012", "M");
        inst.add_cie10("J189", "A", "0", "0");
    }
    Aurgencias validator;
};

TEST_F(UrgenciasTest, HourRuleOnBothHourFields) {
    auto counts = run(validator, {au({{6, "2530"}}), au({{6, "0875"}}), au({{6, "2575"}}),
                                  au({{6, "08:30"}}), au({{6, ""}}), au({{17, "2460"}})});
    EXPECT_EQ(counts.lineas_leidas, 6);
    EXPECT_EQ(counts.lineas_validas, 1);
    std::vector<std::string> expected = {
        au({{6, "2530"}}) + "/ linea  1 Error de Campo6: Formato de hora incorrecto",
        au({{6, "0875"}}) + "/ linea  2 Error de Campo6: Formato de minutos incorrecto",
        au({{6, "2575"}}) +
            "/ linea  3 Error de Campo6: Formato de hora incorrecto, Campo6 : Formato de minutos "
            "incorrecto",
        au({{6, ""}}) + "/ linea  5 Error de Campo6: Campo sin contenido",
        au({{17, "2460"}}) +
            "/ linea  6 Error de Campo17: Formato de hora incorrecto, Campo17 : Formato de "
            "minutos incorrecto",
    };
    EXPECT_EQ(error_lines(), expected);
    EXPECT_EQ(counter(6), 5);
    EXPECT_EQ(counter(17), 2);
    auto stored = rows("urgencias", {"hora_ingreso"});
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0][0], "08:30");
}

TEST_F(UrgenciasTest, ExitStateAndCauseOfDeath) {
    inst.add_cie10("I219", "A", "0", "0");
    run(validator,
        {au({{14, "2"}, {15, ""}}), au({{14, "1"}, {15, ""}}), au({{14, "2"}, {15, "I219"}}),
         au({{14, "3"}}), au({{14, "0"}}), au({{14, "1"}, {15, "ZZZZ"}})});
    std::vector<std::string> expected = {
        au({{14, "2"}, {15, ""}}) +
            "/ linea  1 Error de Campo15: Campo sin contenido C15  no existe en CIE10",
        au({{14, "3"}}) +
            "/ linea  4 Error de Campo14: Contenido no corresponde a los valores definidos",
        au({{14, "0"}}) +
            "/ linea  5 Error de Campo14: Contenido no corresponde a los valores definidos",
    };
    EXPECT_EQ(error_lines(), expected);
    EXPECT_EQ(counter(15), 2);
    EXPECT_EQ(counter(14), 2);
    // With state 1 the cause of death is not looked up; empty is stored as null.
    auto stored = rows("urgencias", {"estado", "causa_muerte"});
    std::vector<std::vector<std::string>> want = {{"1", "<null>"}, {"2", "I219"}, {"1", "ZZZZ"}};
    EXPECT_EQ(stored, want);
}

TEST_F(UrgenciasTest, UnknownUserGetsOnlyTheFirstFourFields) {
    // Field 5 and the hour are wrong too, but are not checked for a record without user.
    std::string line = au({{1, ""}, {4, "99999999"}, {5, "xx"}, {6, "9999"}});
    run(validator, {line});
    std::vector<std::string> expected = {
        line +
        "/ linea  1 Error de Campo1: Campo sin contenido, No se relaciona con un usuario: "
        "el registro de usuario no existe o no paso la validación"};
    EXPECT_EQ(error_lines(), expected);
    EXPECT_EQ(counter(23), 1);
    EXPECT_EQ(counter(5), 0);
    EXPECT_EQ(counter(6), 0);
}

TEST_F(UrgenciasTest, CodesAreNormalisedBeforeLookupAndStorage) {
    inst.add_cie10("0A09", "A", "0", "0");
    inst.add_cie10("00AB", "A", "0", "0");
    inst.add_cie10("0R10", "A", "0", "0");
    run(validator, {au({{8, "1"}, {9, "A09"}}), au({{9, "AB"}}), au({{14, "2"}, {15, "R10"}}),
                    au({{9, "A0"}})});
    std::vector<std::string> expected = {au({{9, "A0"}}) +
                                         "/ linea  4 Error de  C9 00A0 no existe en CIE10"};
    EXPECT_EQ(error_lines(), expected);
    EXPECT_EQ(counter(9), 1);
    auto stored = rows("urgencias", {"causa_externa", "diag_prin", "causa_muerte"});
    std::vector<std::vector<std::string>> want = {
        {"01", "0A09", "<null>"}, {"13", "00AB", "<null>"}, {"13", "J189", "0R10"}};
    EXPECT_EQ(stored, want);
}

TEST_F(UrgenciasTest, EmptyPrincipalDiagnosisIsLookedUpToo) {
    // The first line leaves a diagnosis of any sex in force for the sex check of the second.
    run(validator, {au(), au({{9, ""}})});
    std::vector<std::string> expected = {
        au({{9, ""}}) + "/ linea  2 Error de Campo9: Campo sin contenido C9  no existe en CIE10"};
    EXPECT_EQ(error_lines(), expected);
    EXPECT_EQ(counter(9), 2);
}

TEST_F(UrgenciasTest, CedulaWithLettersIsCountedButCheckDigitIsNot) {
    user("CC", "12A45678", "M");
    user("CC", "1234567-8", "M");
    run(validator, {au({{4, "12A45678"}}), au({{4, "1234567-8"}})});
    std::vector<std::string> expected = {
        au({{4, "12A45678"}}) +
            "/ linea  1 Error de Campo4 Valor del campo debe ser numerico, Numero de "
            "Identificación es tipo cedula y no es numerico",
        au({{4, "1234567-8"}}) + "/ linea  2 Error de Campo4 Valor del campo debe ser numerico"};
    EXPECT_EQ(error_lines(), expected);
    EXPECT_EQ(counter(22), 1);
}

TEST_F(UrgenciasTest, SexOfUserAgainstPrincipalDiagnosis) {
    inst.add_cie10("N700", "F", "0", "0");
    inst.add_cie10("P070", "A", "0", "0");
    inst.add_cie10("J450", "A", "405", "599");
    user("CC", "52000111", "F", 4);
    run(validator, {au({{9, "N700"}}), au({{4, "52000111"}, {9, "N700"}}),
                    au({{4, "52000111"}, {9, "J450"}})});
    std::vector<std::string> expected = {
        au({{9, "N700"}}) + "/ linea  1 Error de Sexo no corresponde al DX",
        au({{4, "52000111"}, {9, "J450"}}) + "/ linea  3 Error de Edad no corresponde al DX"};
    EXPECT_EQ(error_lines(), expected);
    EXPECT_EQ(counter(24), 1);
    EXPECT_EQ(counter(8), 1);
}

TEST_F(UrgenciasTest, StoredRowHoldsConvertedValues) {
    run(validator, {au({{3, "cc"}, {7, "AUT-77"}, {10, "J180"}, {16, "3/11/2026"}}),
                    au({{16, "03/11/2026"}})});
    // A date of 9 characters fails the date check; the second line is stored.
    auto stored = rows("urgencias", {"tipo_identificacion", "fecha_ingreso", "num_autorizacion",
                                     "diag_r1", "fecha_salida", "num_radicacion"});
    std::vector<std::vector<std::string>> want = {
        {"CC", "2026-11-01", "<null>", "<null>", "2026-11-03", "0"}};
    EXPECT_EQ(stored, want);
    run(validator, {au({{3, "cc"}, {7, "AUT-77"}, {10, "J180"}})});
    stored = rows("urgencias", {"tipo_identificacion", "num_autorizacion", "diag_r1"});
    EXPECT_EQ(stored.back(), (std::vector<std::string>{"CC", "AUT-77", "J180"}));
    // Texts are stored as text, so that the engine's comparisons find them.
    stored =
        rows("urgencias", {"typeof(num_factura)", "typeof(hora_ingreso)", "typeof(fecha_ingreso)"});
    EXPECT_EQ(stored.back(), (std::vector<std::string>{"text", "text", "text"}));
}

// A database failure in the middle of the file ends that file only.
TEST(UrgenciasFailure, DatabaseFailureEndsTheFileAndTheRunGoesOn) {
    Installation inst;
    inst.add_cie10("J189", "A", "0", "0");
    inst.work().exec(
        "CREATE TRIGGER falla_urgencias BEFORE INSERT ON urgencias WHEN NEW.num_factura = "
        "'BOOM' BEGIN SELECT RAISE(ABORT, 'falla'); END");
    inst.write("CT000001.TXT", crlf({std::string(kIps) + ",01/11/2026,US000001,1",
                                     std::string(kIps) + ",01/11/2026,AU000001,3",
                                     std::string(kIps) + ",01/11/2026,AM000001,1"}));
    inst.write("US000001.TXT",
               crlf({"CC,16789012,EPS005,1,GOMEZ,PEREZ,CARLOS,ANDRES,45,1,M,76,001,U"}));
    inst.write("AU000001.TXT", crlf({au(), au({{1, "BOOM"}}), au({{1, "F003"}})}));
    inst.write("AM000001.TXT", crlf({"F001," + std::string(kIps) +
                                     ",CC,16789012,,M01,1,ACETAMINOFEN,,,,10,100,1000"}));
    ScriptedUi ui;
    EXPECT_EQ(inst.validate(ui), RunOutcome::Summary);

    std::vector<ShownMessage> errors;
    for (const auto& m : ui.messages)
        if (m.title == "Error") errors.push_back(m);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].text, "Se presento el Error #  19 al leer archivo de Urgencias \r\rfalla");
    EXPECT_EQ(errors[0].icon, Icon::Critical);

    SQLite::Statement au_rows(inst.work().db(), "SELECT num_factura FROM urgencias");
    ASSERT_TRUE(au_rows.executeStep());
    EXPECT_EQ(au_rows.getColumn(0).getString(), "F001");
    EXPECT_FALSE(au_rows.executeStep());

    SQLite::Statement errores(inst.work().db(),
                              "SELECT count(*), sum(C1) FROM ERRORES WHERE tipo = 'AU'");
    ASSERT_TRUE(errores.executeStep());
    EXPECT_EQ(errores.getColumn(0).getInt(), 1);
    EXPECT_EQ(errores.getColumn(1).getDouble(), 0);

    SQLite::Statement am_rows(inst.work().db(), "SELECT count(*) FROM medicamentos");
    ASSERT_TRUE(am_rows.executeStep());
    EXPECT_EQ(am_rows.getColumn(0).getInt(), 1);
}

}  // namespace
}  // namespace corvela::testing
