#include <gtest/gtest.h>

#include "support/session.h"

namespace corvela::testing {
namespace {

const std::string kUser = "CC,123456,EPS005,1,GOMEZ,,ANA,,30,1,M,76,001,U";

using RunTest = SessionTest;

TEST_F(RunTest, SummaryToTheByteAndNamesMatchWithoutRegardToCase) {
    control({"760010012301,01/11/2026,US000001,2", "760010012301,01/11/2026,AD000001,1",
             "760010012301,01/11/2026,AX000001,1"});
    inst.write("us000001.txt", crlf({kUser, ""}));
    inst.write("AD000001.TXT", crlf({"F1,760010012301,01,2,,700"}));
    inst.write("ax000001.txt", "x");  // found, of a type no validator reads
    EXPECT_EQ(run().ending(), Ending::Done);
    ASSERT_EQ(ui.titles(), (std::vector<std::string>{"Resultado validación", "Atención",
                                                     "Resumén de la validación."}));
    EXPECT_EQ(ui.messages.back().text,
              "Leidos:  3\rPasaron: 2\rErrados: 1\r\rTiempo de proceso:  0 Minutos,  0 Segundos\r"
              "Tiempo de validación por Registro: 0.000 Segundos\r\r"
              "Archivo\t\tLeidos\tErrados\tPasaron\r"
              "US000001\t 2\t 1\t 1\r"
              "AD000001\t 1\t 0\t 1\r"
              "AX000001\t 0\t 0\t 0\r");
    EXPECT_EQ(ui.months_caption, " MESES REPORTADOS");
    EXPECT_EQ(count("SELECT 1 FROM ERRORES WHERE nro_radicacion = 0"), 2);
    // The outputs take the name the control file gives.
    EXPECT_EQ(inst.result("760010012301_US000001.TXT"), crlf({kUser}));
    // The last file found is the one in process, validated or not.
    EXPECT_EQ(program->full_path, (inst.delivery / "ax000001.txt").string());
    EXPECT_EQ(ui.status, "Archivo en proceso: AX000001.TXT");
}

TEST_F(RunTest, InvoicesAreComparedWithTheRemissionDateOfTheFirstControlRecord) {
    // The medications row moves down past the users and invoice rows; the header keeps its date.
    control({"760010012301,01/10/2026,AM000001,1", "760010012301,01/11/2026,US000001,1",
             "760010012301,01/11/2026,AF000001,1"});
    inst.write("AM000001.TXT", "");
    inst.write("US000001.TXT", crlf({kUser}));
    const std::string invoice =
        "760010012301,IPS PRUEBA,NI,890123456,F001,15/10/2026,01/10/2026,"
        "31/10/2026,EPS005,EPS PRUEBA,,,,0,,,150000";
    inst.write("AF000001.TXT", crlf({invoice}));
    EXPECT_EQ(run().ending(), Ending::Done);
    EXPECT_EQ(program->delivery.header.remission_date, "01/10/2026");
    EXPECT_EQ(inst.result("760010012301_AF000001.ERR"),
              crlf({invoice + " / linea  1 Error de Fecha expedición > Fecha de remisión"}));
    EXPECT_EQ(inst.number("SELECT C24 FROM ERRORES WHERE tipo = 'AF'"), 1);
}

TEST_F(RunTest, MedicationsRowMovesLastFromAnyPlace) {
    for (int where = 0; where < 3; ++where) {
        std::vector<std::string> rows = {"760010012301,01/11/2026,US000001,1",
                                         "760010012301,01/11/2026,AD000001,1",
                                         "760010012301,01/11/2026,AF000001,1"};
        rows.insert(rows.begin() + where + (where > 0 ? 1 : 0),
                    "760010012301,01/11/2026,AM000001,1");
        control(rows);
        inst.write("US000001.TXT", crlf({kUser}));
        for (const char* f : {"AD000001.TXT", "AF000001.TXT", "AM000001.TXT"}) inst.write(f, "");
        ASSERT_TRUE(run(RunState::Saved).ok()) << where;
        std::string table = ui.messages.back().text;
        size_t am = table.find("AM000001"), ad = table.find("AD000001"),
               af = table.find("AF000001");
        ASSERT_NE(am, std::string::npos);
        EXPECT_GT(am, ad) << where;
        EXPECT_GT(am, af) << where;
        EXPECT_LT(table.find("US000001"), std::min(ad, af));
    }
}

TEST_F(RunTest, SecondRunWritesTheSecondErrorFileName) {
    control({"760010012301,01/11/2026,US000001,1"});
    inst.write("US000001.TXT", crlf({"x"}));
    ASSERT_TRUE(run().ok());
    ASSERT_TRUE(run(RunState::Saved).ok());
    EXPECT_NE(inst.result("760010012301_US000001.ERR"), "");
    EXPECT_NE(inst.result("760010012301_US000001_1.ERR"), "");
    // The counts of the run never saved are not kept beside the new ones.
    EXPECT_EQ(count("SELECT 1 FROM ERRORES"), 1);
}

TEST_F(RunTest, WithoutUsersFileNothingElseIsValidated) {
    control({"760010012301,01/11/2026,AD000001,1", "760010012301,01/11/2026,US000009,1"});
    inst.write("AD000001.TXT", crlf({"F1,760010012301,01,2,,700"}));
    EXPECT_EQ(run().ending(), Ending::Stopped);
    ASSERT_NE(shown("Falta archivo de Usuario."), nullptr);
    EXPECT_EQ(shown("Falta archivo de Usuario.")->text,
              "No existe el archivo de usuario, por favor revise el archivo de control.");
    EXPECT_EQ(count("SELECT 1 FROM descripcion"), 0);
    // The users pass took the file it found, though it validated none.
    EXPECT_EQ(program->full_path, (inst.delivery / "AD000001.TXT").string());
}

TEST_F(RunTest, UnsavedDataAnsweredYesChangesNothing) {
    inst.work().exec("INSERT INTO usuario (tipo_identificacion) VALUES ('CC')");
    control({"760010012301,01/11/2026,US000001,1"});
    ui.answers = {true};
    EXPECT_EQ(run(RunState::NotSaved).ending(), Ending::Stopped);
    EXPECT_EQ(ui.questions.front(),
              "Existe Información.|Existe información en tablas temporales que no se ha "
              "cargado.\r¿Desea cargarla.?");
    EXPECT_EQ(count("SELECT 1 FROM usuario"), 1);
}

TEST_F(RunTest, SiteMustBeHabilitatedWithTwelveCharacters) {
    control({"76001001230,01/11/2026,US000001,1"});
    EXPECT_EQ(run().ending(), Ending::Stopped);
    ASSERT_NE(shown("No habilitada"), nullptr);
    EXPECT_EQ(shown("No habilitada")->text, "No existe la IPS en la tabla de habilitadas.");
}

TEST_F(RunTest, ControlLinesLongerThanTheirDefinitionStopTheRunAfterTheSiteCheck) {
    // The control record's fields add up to 40 characters.
    std::string at_limit = "760010012301,01/11/2026,US000001," + std::string(7, '1');
    ASSERT_EQ(at_limit.size(), 40u);
    control({at_limit, at_limit + "1"});
    EXPECT_EQ(run().ending(), Ending::Stopped);
    EXPECT_EQ(ui.titles(),
              (std::vector<std::string>{"Resultado validación", "Error de estructura"}));
}

TEST_F(RunTest, FolderWithoutControlFile) {
    inst.write("US000001.TXT", crlf({kUser}));
    EXPECT_EQ(run().ending(), Ending::Stopped);
    EXPECT_EQ(ui.titles(),
              (std::vector<std::string>{"Resultado validación", "No existe Archivo.", "Atención"}));
    EXPECT_EQ(ui.messages.back().text,
              "Debe Seleccionar primero una Unidad para buscar los archivos.");
}

TEST_F(RunTest, MoreControlRecordsThanTheTableHolds) {
    control({"760010012301,01/11/2026,US000001,1", "760010012301,01/11/2026,AD000001,1",
             "760010012301,01/11/2026,AC000001,1"});
    EXPECT_EQ(run().ending(), Ending::Stopped);
    EXPECT_EQ(ui.messages.back().title, "Error");
    EXPECT_EQ(ui.messages.back().text,
              "Existen más de diez (10) archivos de los requeridos por la Resolución 3374/2000.\r\r"
              "Por favor revise el archivo de control y los archivos a validar");
}

TEST_F(RunTest, NothingReadGivesTheTwoMessages) {
    control({"760010012301,01/11/2026,US000001,1"});
    inst.write("US000001.TXT", "");
    EXPECT_EQ(run().ending(), Ending::Done);
    ASSERT_GE(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[ui.messages.size() - 2].text,
              "Leidos:  0\rPasaron: 0\rErrados: 0\r\rTiempo de proceso:  0 Minutos,  0 Segundos\r"
              "Tiempo de validación por Registro: 0.000 Segundos");
    EXPECT_EQ(ui.messages.back().title, "No existen registros para leer");
}

}  // namespace
}  // namespace corvela::testing
