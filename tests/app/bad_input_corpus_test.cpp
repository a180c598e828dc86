// The bad-input corpus: what hundreds of providers' systems put in deliveries. Every case names
// its exact outcome; the run reports it and goes on.
#include <gtest/gtest.h>

#include "support/session.h"
#include "support/validator_test.h"
#include "validators/consultations.h"
#include "validators/users.h"

namespace corvela::testing {
namespace {

using namespace std::string_literals;

// Values that would change a statement if one were ever built from them.
const std::vector<std::string> kInjections = {"'", "\"", ";", "--", "x' OR '1'='1"};

// The error file of lines that each fail with one description: line + separator + "linea " +
// number text + " Error de " + description.
std::string failing(const std::vector<std::pair<std::string, std::string>>& lines,
                    const std::string& separator) {
    std::string out;
    int n = 0;
    for (const auto& [line, description] : lines)
        out += line + separator + "linea  " + std::to_string(++n) + " Error de " + description +
               "\r\n";
    return out;
}

const std::vector<std::string> kUserFields = {
    "CC", "16789012", "EPS005", "1", "GOMEZ", "", "ANA", "", "45", "1", "F", "76", "001", "U"};

struct UsersCorpus : ValidatorTest<UsersValidator> {
    UsersCorpus() : ValidatorTest("US000001.TXT") {}
    std::string good = record(kUserFields, {});
};

TEST_F(UsersCorpus, StructureBreakersAreStructureErrors) {
    const std::string huge(50u << 20, 'A');  // one line of 50 MB
    auto counts = run_bytes(huge + "\r\n" + std::string(100000, ',') + "\r\n" + "CC," +
                            std::string(10000, '9') + ",EPS005\r\n" + good + "\r\n");
    EXPECT_EQ(counts.lines_read, 4);
    EXPECT_EQ(counts.lines_passed, 1);
    EXPECT_EQ(errors(), crlf({"Linea  1 Error de Estructura del registro en campos",
                              "Linea  2 Error de Estructura del registro en campos",
                              "Linea  3 Error de Estructura del registro en campos"}));
    EXPECT_EQ(accepted(), good + "\r\n");
    EXPECT_EQ(counters({21}), std::vector<int>{3});
}

TEST_F(UsersCorpus, OnlyCarriageReturnsAreEmptyLines) {
    auto counts = run_bytes("\r\r\r");
    EXPECT_EQ(counts.lines_read, 3);
    EXPECT_EQ(counts.lines_passed, 0);
    EXPECT_EQ(accepted(), "");
    EXPECT_EQ(errors(), crlf({"Linea  1 Error de Estructura del registro en campos",
                              "Linea  2 Error de Estructura del registro en campos",
                              "Linea  3 Error de Estructura del registro en campos"}));
}

TEST_F(UsersCorpus, NulBytesAreCharactersOfTheirField) {
    const std::string in_number = record(kUserFields, {{2,
                                                        "1678\0"s
                                                        "9012"}});
    const std::string in_name = record(kUserFields, {{5, "GO\0MEZ"s}});
    auto counts = run_bytes(in_number + "\r\n" + in_name + "\r\n");
    EXPECT_EQ(counts.lines_passed, 1);
    EXPECT_EQ(errors(), failing({{in_number,
                                  "Campo2 Valor del campo debe ser numerico, Numero de "
                                  "Identificación es tipo cedula y no es numerico"}},
                                "  / "));
    EXPECT_EQ(accepted(), in_name + "\r\n");
    if (!Installation::on_server()) {
        EXPECT_EQ(rows("SELECT primer_apellido FROM usuario"),
                  std::vector<std::string>{"GO\0MEZ"s});
        return;
    }
    // A server's texts cannot hold NUL: the file ends at that line, saying where, nothing cut.
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text,
              "Se presento el Error #  22021 al leer archivo de Usuarios \r\rEl servidor no puede "
              "guardar el carácter NUL (código 0) que hay en el campo 5 de la línea 2 del archivo "
              "US000001.TXT: sus textos no lo admiten.");
    EXPECT_EQ(rows("SELECT count(*) FROM usuario"), std::vector<std::string>{"0"});
}

TEST_F(UsersCorpus, Utf8MixedWithWindows1252IsReadAsWindows1252) {
    // One line in UTF-8, one in Windows-1252: the file is not valid UTF-8 as a whole.
    const std::string utf8 = record(kUserFields, {{5, "MU\xC3\x91OZ"}});
    const std::string latin = record(kUserFields, {{2, "16789013"}, {5, "MU\xD1OZ"}});
    auto counts = run_bytes(utf8 + "\r\n" + latin + "\r\n");
    EXPECT_EQ(counts.lines_passed, 2);
    EXPECT_EQ(rows("SELECT primer_apellido FROM usuario ORDER BY numero_identificacion"),
              (std::vector<std::string>{"MUÃ‘OZ", "MUÑOZ"}));
    EXPECT_EQ(accepted(), utf8 + "\r\n" + latin + "\r\n");
}

TEST_F(UsersCorpus, InjectionsInCodeFieldsNeverPassTheirLookup) {
    const std::string undefined = ": No esta definido en los parametros";
    const std::string too_long = ": Con longitud mayor a la definida";
    const std::string not_exact = ": Con longitud mayor o menor a la definida";
    std::vector<std::pair<std::string, std::string>> lines;
    for (const auto& v : kInjections) {
        // Document type (2 characters at most) and user type (exactly 1).
        lines.push_back(
            {record(kUserFields, {{1, v}}), "Campo1" + (v.size() > 2 ? too_long : undefined)});
        lines.push_back(
            {record(kUserFields, {{4, v}}), "Campo4" + (v.size() > 1 ? not_exact : undefined)});
    }
    // Municipalities of exactly three characters.
    for (const std::string v : {"';'", "--1", "\"1\""})
        lines.push_back({record(kUserFields, {{13, v}}),
                         "Código del departamento y Código de municipio no concuerda"});
    std::string file;
    for (const auto& l : lines) file += l.first + "\r\n";
    auto counts = run_bytes(file);
    EXPECT_EQ(counts.lines_passed, 0);
    EXPECT_EQ(errors(), failing(lines, "  / "));
}

TEST_F(UsersCorpus, InjectionsInIdentificationNumbersAreStoredAsGiven) {
    std::string file;
    for (const auto& v : kInjections) file += record(kUserFields, {{1, "PA"}, {2, v}}) + "\r\n";
    auto counts = run_bytes(file);
    EXPECT_EQ(errors(), "");
    EXPECT_EQ(counts.lines_passed, 5);
    EXPECT_EQ(rows("SELECT numero_identificacion FROM usuario ORDER BY rowid"), kInjections);
}

const std::vector<std::string> kConsultaFields = {
    "F1", "760010012301", "CC", "123",  "01/11/2026", "", "890201", "10", "13", "N390", "", "", "",
    "1",  "20000",        "0",  "20000"};

struct ConsultationsCorpus : ValidatorTest<ConsultationsValidator> {
    ConsultationsCorpus() : ValidatorTest("AC000001.TXT") {
        inst.add_cups("890201", "AC", "A", "0", "0");
        inst.add_cie10("N390", "A", "0", "0");
        user("CC", "123", "F");
        for (const auto& v : kInjections) user("PA", v, "F");
    }
};

TEST_F(ConsultationsCorpus, InjectionsInCodeDiagnosisAndProcedureFieldsNeverPassTheirLookup) {
    std::vector<std::pair<std::string, std::string>> lines;
    for (const auto& v : kInjections) {
        if (v.size() > 4) continue;  // longer than every field below: a length error
        // A diagnosis of fewer than four characters is padded with zeros on the left.
        const std::string dx = std::string(4 - v.size(), '0') + v;
        lines.push_back(
            {record(kConsultaFields, {{7, v}}), "Campo7Actividad no definidad en CUPS"});
        lines.push_back(
            {record(kConsultaFields, {{8, v}}), "Campo8: No esta definido en los parametros"});
        lines.push_back(
            {record(kConsultaFields, {{9, v}}), "Campo9: No esta definido en los parametros"});
        lines.push_back(
            {record(kConsultaFields, {{10, v}}), (v.size() == 1 ? v : dx) + " no existe en CIE10"});
    }
    std::string file;
    for (const auto& l : lines) file += l.first + "\r\n";
    auto counts = run_bytes(file);
    EXPECT_EQ(counts.lines_passed, 0);
    EXPECT_EQ(errors(), failing(lines, " / "));
}

TEST_F(ConsultationsCorpus, InjectionsInIdentificationNumbersRelateToTheirUser) {
    std::string file;
    for (const auto& v : kInjections) file += record(kConsultaFields, {{3, "PA"}, {4, v}}) + "\r\n";
    auto counts = run_bytes(file);
    EXPECT_EQ(errors(), "");
    EXPECT_EQ(counts.lines_passed, 5);
    EXPECT_EQ(rows("SELECT num_identificacion FROM consulta ORDER BY rowid"), kInjections);
}

struct DeliveryCorpus : SessionTest {
    DeliveryCorpus() {
        const std::string head = std::string(kIps) + ",01/11/2026,";
        control({head + "US000001,1", head + "AD000001,1"});
        inst.write("US000001.TXT", crlf({kUsers[0]}));
    }
    // The file table that ends the summary.
    bool summary_ends_with_table() const {
        return ui.messages.back().text.ends_with(
            "\r\rArchivo\t\tLeidos\tErrados\tPasaron\rUS000001\t 1\t 0\t 1\rAD000001\t 0\t 0\t "
            "0\r");
    }
};

TEST_F(DeliveryCorpus, AFileThatIsAFolderIsNotInTheDelivery) {
    std::filesystem::create_directory(inst.delivery / "AD000001.TXT");
    EXPECT_EQ(run().ending(), Ending::Done);
    EXPECT_EQ(shown("Error"), nullptr);
    EXPECT_TRUE(summary_ends_with_table()) << ui.messages.back().text;
}

TEST_F(DeliveryCorpus, AnUnreadableFileIsReportedAndTheRunGoesOn) {
    // Reading this file fails with an input/output error, even for the administrator.
    std::filesystem::create_symlink("/proc/self/mem", inst.delivery / "AD000001.TXT");
    EXPECT_EQ(run().ending(), Ending::Done);
    ASSERT_NE(shown("Error"), nullptr);
    EXPECT_EQ(shown("Error")->text,
              "Se presento el Error #  5 al leer archivo de Descripción Agrupada \r\rError de "
              "entrada y salida");
    EXPECT_EQ(count("SELECT 1 FROM ERRORES WHERE tipo = 'AD'"), 1);
    EXPECT_TRUE(summary_ends_with_table()) << ui.messages.back().text;
}

// Text as Windows saves it in "Unicode": UTF-16, little-endian after its byte-order mark, or
// big-endian without one.
std::string utf16(const std::string& ascii, bool little_endian) {
    std::string out = little_endian ? "\xFF\xFE" : "";
    for (char c : ascii) out += little_endian ? std::string{c, '\0'} : std::string{'\0', c};
    return out;
}

TEST_F(DeliveryCorpus, AUtf16FileIsRefusedBeforeItIsReadAndALineHoldingANulIsNot) {
    const std::string refused =
        " está en UTF-16, que Corvela no lee: guárdelo como UTF-8 o "
        "Windows-1252 (ANSI) y valide de nuevo.";
    const std::string head = std::string(kIps) + ",01/11/2026,";
    const std::vector<std::string> rows = {head + "US000001,1", head + "AD000001,1"};
    const std::string user_with_nul = record(kUserFields, {{5, "GO\0MEZ"s}});
    const struct {
        const char* file;
        std::string bytes;
        std::string title;  // of the box that ends the run, the refusal as its hint
    } cases[] = {
        {"US000001.TXT", utf16(crlf({kUsers[0]}), true), "Falta archivo de Usuario."},
        {"AD000001.TXT", utf16(crlf(kDescriptions), false), "Resumén de la validación."},
        {"CT000001.TXT", utf16(crlf(rows), true).substr(2), "No existe Archivo."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        control(rows);
        inst.write("US000001.TXT", crlf({user_with_nul}));
        inst.write(c.file, c.bytes);
        ui.messages.clear();
        (void)run();
        ASSERT_FALSE(ui.messages.empty());
        EXPECT_EQ(ui.messages.back().title, c.title);
        EXPECT_EQ(ui.messages.back().hint, (inst.delivery / c.file).string() + refused);
        // Nothing of it is read: no error row, no outputs.
        EXPECT_EQ(count("SELECT 1 FROM ERRORES WHERE tipo = '" + std::string(c.file, 2) + "'"), 0);
        EXPECT_EQ(inst.result(std::string(kIps) + "_" + c.file), "");
    }
    // The users file, whose line holds a NUL, was read, and its line passed.
    EXPECT_EQ(inst.result(std::string(kIps) + "_US000001.TXT"), user_with_nul + "\r\n");
}

}  // namespace
}  // namespace corvela::testing
