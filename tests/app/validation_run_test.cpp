// The run over a delivery folder: the summary, the order of the files, the error files' names, a
// data file that cannot be read, and every way a run stops before its summary.
#include <gtest/gtest.h>

#include "support/session.h"

namespace corvela::testing {
namespace {

const std::string kUser = "CC,123456,EPS005,1,GOMEZ,,ANA,,30,1,M,76,001,U";
const std::string kHead = std::string(kIps) + ",01/11/2026,";

using RunTest = SessionTest;

TEST_F(RunTest, SummaryToTheByteAndNamesMatchWithoutRegardToCase) {
    control({kHead + "US000001,2", kHead + "AD000001,1", kHead + "AX000001,1"});
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
    EXPECT_EQ(ui.status, "Archivo en proceso: AX000001.TXT");
}

TEST_F(RunTest, MedicationsMoveLastAndInvoicesKeepTheFirstRecordsRemissionDate) {
    const std::string invoice =
        "760010012301,IPS PRUEBA,NI,890123456,F001,15/10/2026,01/10/2026,"
        "31/10/2026,EPS005,EPS PRUEBA,,,,0,,,150000";
    for (int where = 0; where < 3; ++where) {
        SCOPED_TRACE(where);
        std::vector<std::string> rows = {kHead + "US000001,1", kHead + "AD000001,1",
                                         kHead + "AF000001,1"};
        rows.insert(rows.begin() + where + (where > 0),
                    std::string(kIps) + ",01/10/2026,AM000001,1");
        control(rows);
        inst.write("US000001.TXT", crlf({kUser}));
        inst.write("AF000001.TXT", crlf({invoice}));
        for (const char* f : {"AD000001.TXT", "AM000001.TXT"}) inst.write(f, "");
        ASSERT_TRUE(run(RunState::Saved).ok());
        const std::string table = ui.messages.back().text;
        const size_t ad = table.find("AD000001"), af = table.find("AF000001");
        ASSERT_NE(table.find("AM000001"), std::string::npos);
        EXPECT_GT(table.find("AM000001"), std::max(ad, af));
        EXPECT_LT(table.find("US000001"), std::min(ad, af));
        // One delivery has one remission date: the first record's, before the medications moved.
        EXPECT_EQ(program->delivery.header.remission_date, where ? "01/11/2026" : "01/10/2026");
    }
    EXPECT_EQ(inst.result("760010012301_AF000001_1.ERR"), "");
    EXPECT_EQ(inst.result("760010012301_AF000001.ERR"),
              crlf({invoice + " / linea  1 Error de Fecha expedición > Fecha de remisión"}));
}

TEST_F(RunTest, SecondRunWritesTheSecondErrorFileNameAndDropsTheFirstsCounts) {
    control({kHead + "US000001,1"});
    inst.write("US000001.TXT", crlf({"x"}));
    ASSERT_TRUE(run().ok());
    ASSERT_TRUE(run(RunState::Saved).ok());
    EXPECT_NE(inst.result("760010012301_US000001.ERR"), "");
    EXPECT_NE(inst.result("760010012301_US000001_1.ERR"), "");
    EXPECT_EQ(count("SELECT 1 FROM ERRORES"), 1);
}

// Text as Windows saves it in "Unicode": UTF-16, little-endian after its byte-order mark, or
// big-endian without one.
std::string utf16(const std::string& ascii, bool little_endian) {
    std::string out = little_endian ? "\xFF\xFE" : "";
    for (char c : ascii) out += little_endian ? std::string{c, '\0'} : std::string{'\0', c};
    return out;
}
const char* const kUtf16 =
    " está en UTF-16, que Corvela no lee: guárdelo como UTF-8 o Windows-1252 (ANSI) y valide de "
    "nuevo.";

// A grouped-description file that cannot be read is reported, or left out, and the run goes on;
// the users file, whose line holds a NUL, is read.
TEST_F(RunTest, ADataFileThatCannotBeReadIsReportedAndTheRunGoesOn) {
    using namespace std::string_literals;
    const std::string user = "CC,16789012,EPS005,1,GO\0MEZ,,ANA,,45,1,F,76,001,U"s;
    const struct {
        const char* name;
        std::string error, hint;  // the failure's message; a part of the summary's hint
    } cases[] = {
        {"a folder", "", ""},
        // Reading this file fails with an input/output error, even for the administrator.
        {"/proc/self/mem",
         "Se presento el Error #  5 al leer archivo de Descripción Agrupada \r\rError de entrada "
         "y salida",
         ""},
        {"UTF-16", "", (inst.delivery / "AD000001.TXT").string() + kUtf16},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        write_delivery("000001", {user}, {});
        std::filesystem::remove(inst.delivery / "AD000001.txt");
        const auto ad = inst.delivery / "AD000001.TXT";
        if (c.name == std::string("a folder")) std::filesystem::create_directory(ad);
        if (c.name == std::string("/proc/self/mem")) std::filesystem::create_symlink(c.name, ad);
        if (c.name == std::string("UTF-16"))
            inst.write("AD000001.TXT", utf16(crlf(kDescriptions), false));
        ui.messages.clear();
        EXPECT_EQ(run(RunState::Saved).ending(), Ending::Done);
        EXPECT_EQ(shown("Error") ? shown("Error")->text : "", c.error);
        EXPECT_NE(ui.messages.back().hint.find(c.hint), std::string::npos);
        EXPECT_TRUE(
            ui.messages.back().text.ends_with("\rUS000001\t 1\t 0\t 1\rAD000001\t 0\t 0\t 0\r"))
            << ui.messages.back().text;
        // An error row where the file was opened, no outputs where it was not.
        EXPECT_EQ(count("SELECT 1 FROM ERRORES WHERE tipo = 'AD'"), c.name[0] == '/');
        EXPECT_EQ(inst.result("760010012301_US000001.TXT"), user + "\r\n");
    }
}

// A way a run stops before its summary, the last run not saved: the delivery folder as the case
// leaves it (no control file when it has no lines), the answer to "Existe Información.", the
// titles of the boxes shown and the last one's text. Once the working tables are emptied, nothing
// is left to save.
struct Stop {
    const char* name;
    std::string control;      // the control file's bytes ("": none)
    std::string file, bytes;  // a file written after the control file
    std::string titles;       // of the boxes shown, joined by "|"
    std::string text;         // the last box's
    const char* folder = "";  // run on this folder of the delivery folder
    bool save_first = false;
};

const std::string kNoUsersFile =
    "No existe el archivo de usuario, por favor revise el archivo de control.";
const std::string kNoUnit = "Debe Seleccionar primero una Unidad para buscar los archivos.";
const Stop kStops[] = {
    {"SaveFirst", crlf({kHead + "US000001,1"}), "US000001.TXT", crlf({kUser}), "", "", "", true},
    {"NoUsersFile", crlf({kHead + "AD000001,1", kHead + "US000009,1"}), "AD000001.TXT",
     crlf({"F1,760010012301,01,2,,700"}), "Falta archivo de Usuario.", kNoUsersFile},
    {"UsersFileInUtf16", crlf({kHead + "US000001,1"}), "US000001.TXT", utf16(crlf({kUser}), true),
     "Falta archivo de Usuario.", kNoUsersFile},
    {"ControlFileInUtf16", "", "CT000001.TXT", utf16(crlf({kHead + "US000001,1"}), true).substr(2),
     "No existe Archivo.", "No existe archivos de Control, por favor verificar."},
    {"NoControlFile", "", "US000001.TXT", crlf({kUser}), "No existe Archivo.|Atención", kNoUnit},
    {"NoFolder", "", "", "", "No existe Archivo.|Atención", kNoUnit, "no-existe"},
    {"SiteNotRegistered", crlf({"76001001230,01/11/2026,US000001,1"}), "", "", "No habilitada",
     "No existe la IPS en la tabla de habilitadas."},
    // The control record's fields add up to 40 characters: the first line is at the limit.
    {"ControlLineTooLong",
     crlf({kHead + "US000001," + std::string(7, '1'), kHead + "US000001," + std::string(8, '1')}),
     "", "", "Error de estructura", "Error de estructura del archivo de Control"},
    {"MoreRecordsThanFiles",
     crlf({kHead + "US000001,1", kHead + "AD000001,1", kHead + "AC000001,1"}), "", "", "Error",
     "Existen más de diez (10) archivos de los requeridos por la Resolución 3374/2000.\r\r"
     "Por favor revise el archivo de control y los archivos a validar"},
};

void PrintTo(const Stop& stop, std::ostream* out) {
    *out << stop.name;
}

class RunStops : public SessionTest, public ::testing::WithParamInterface<Stop> {};

TEST_P(RunStops, WithItsMessageAndLeavesNothingHalfDone) {
    const Stop& c = GetParam();
    validated("000001");
    const DeliveryHeader header = program->delivery.header;
    for (const auto& e : std::filesystem::directory_iterator(inst.delivery))
        std::filesystem::remove(e.path());
    if (!c.control.empty()) inst.write("CT000001.TXT", c.control);
    if (!c.file.empty()) inst.write(c.file, c.bytes);
    ui.answers = {c.save_first};
    program->full_path.clear();  // no file chosen since
    const auto folder = *c.folder ? inst.delivery / c.folder : inst.delivery;
    EXPECT_EQ(run_validation(*program, folder).ending(), Ending::Stopped);
    EXPECT_EQ(ui.questions.size(), 1u);
    std::string titles;
    for (const auto& t : ui.titles()) titles += (titles.empty() ? "" : "|") + t;
    ASSERT_EQ(titles, c.titles);
    if (!c.titles.empty()) {
        EXPECT_EQ(ui.messages.back().text, c.text);
        EXPECT_EQ(ui.messages.back().hint.ends_with(kUtf16),
                  std::string(c.name).ends_with("Utf16"));
    }
    // Answered Yes, the run changed nothing; otherwise the last run is gone and cannot be saved.
    EXPECT_EQ(sizes("usuario descripcion"), c.save_first ? "2 1" : "0 0");
    program->store_run_state();
    program->delivery.header = header;
    ui.messages.clear();
    EXPECT_EQ(save_delivery(*program).ending(), c.save_first ? Ending::Done : Ending::Stopped);
    EXPECT_EQ(sizes("registros f_usuario"), c.save_first ? "2 2" : "0 0");
}

INSTANTIATE_TEST_SUITE_P(, RunStops, ::testing::ValuesIn(kStops),
                         [](const auto& stop) { return std::string(stop.param.name); });

}  // namespace
}  // namespace corvela::testing
