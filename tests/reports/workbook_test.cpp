// The workbooks read back with openpyxl, a reader other than the writer: the sample run's errors
// workbook against its error files and its counts, the reports against their text form, a
// Windows-1252 line and a line too long for a cell, and a file whose lines fill several sheets
// after it was read a second time.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <set>

#include "platform/text.h"
#include "reports/errors_workbook.h"
#include "reports/report_workbook.h"
#include "rules/error_recording.h"
#include "support/command.h"

namespace corvela::testing {
namespace {

using nlohmann::json;

// A cell's value as the tests compare it: a number as its plain text, an empty cell as "".
std::string value_of(const json& cell) {
    const json& v = cell[0];
    if (v.is_null()) return "";
    if (v.is_number()) return value_text(v.get<double>());
    return v.get<std::string>();
}

std::vector<std::string> lines_of(const std::string& bytes) {
    std::vector<std::string> lines;
    for (size_t at = 0; at < bytes.size();) {
        size_t end = bytes.find("\r\n", at);
        lines.push_back(bytes.substr(at, end - at));
        at = end == std::string::npos ? bytes.size() : end + 2;
    }
    return lines;
}

class Workbooks : public ::testing::Test {
  protected:
    void SetUp() override {
        if (std::system(
                (std::string(CORVELA_PYTHON) + " -c 'import openpyxl' 2>/dev/null").c_str()))
            GTEST_SKIP() << "python3-openpyxl is not installed";
    }
    int corvela(const std::string& args) {
        return run_corvela(inst, args, inst.dir / "out.json", inst.dir / "err.txt");
    }
    json document() const { return json::parse(read_file(inst.dir / "out.json")); }
    std::string validate(const std::string& options) {
        return "validate '" + inst.delivery.string() + "' --today 2026-12-06 --json " + options;
    }
    // The book as openpyxl reads it.
    json read_book(const std::filesystem::path& book) {
        const std::filesystem::path out = inst.dir / "book.json";
        const std::string cmd = std::string(CORVELA_PYTHON) + " '" + CORVELA_SOURCE_DIR +
                                "/tests/reports/read_workbook.py' '" + book.string() + "' > '" +
                                out.string() + "'";
        EXPECT_EQ(std::system(cmd.c_str()), 0) << book;
        return json::parse(read_file(out));
    }
    static const json& sheet(const json& book, const std::string& name) {
        for (const json& s : book["sheets"])
            if (s["name"] == name) return s;
        static const json none = json::object({{"rows", json::array()}});
        ADD_FAILURE() << "no sheet " << name;
        return none;
    }

    Installation inst{Sample{}};
};

TEST_F(Workbooks, TheSampleRunsSheetsHoldTheErrorFilesLinesWithEachErrorApart) {
    const std::filesystem::path file = inst.dir / "errores.xlsx";
    ASSERT_EQ(corvela(validate("--xlsx '" + file.string() + "'")), 0)
        << read_file(inst.dir / "err.txt");
    const json run = document();
    const json book = read_book(file);

    // "Resumen" first, with the summary of every file, then a sheet per file with failing lines.
    std::vector<std::string> names{"Resumen"}, shown;
    std::vector<std::string> summary{"Archivo|Leidos|Errados|Pasaron"};
    for (const json& f : run["files"]) {
        if (f["failed"] > 0) names.push_back(f["code"]);
        summary.push_back(f["code"].get<std::string>() + "|" + value_text(f["read"]) + "|" +
                          value_text(f["failed"]) + "|" + value_text(f["passed"]));
    }
    for (const json& s : book["sheets"]) shown.push_back(s["name"]);
    EXPECT_EQ(shown, names);
    for (size_t r = 0; r < summary.size(); ++r) {
        const json& row = book["sheets"][0]["rows"][r];
        std::string cells;
        for (size_t c = 0; c < 4; ++c) cells += (c ? "|" : "") + value_of(row[c]);
        EXPECT_EQ(cells, summary[r]);
    }

    // Lines whose cells are known: the split of joins without a separator, the example,
    // an error that put no text into the description, surplus fields, a structure error and a
    // number with its leading zeros. Marked headings and errors are joined by "|"; then a field's
    // heading and its cell.
    const struct {
        const char *sheet, *marked, *errors, *heading, *value;
        int line;
    } known[] = {
        {"US000001",
         "Código de la entidad administradora|Sexo|Tipo de identificación del usuario|Zona de "
         "residencia habitual",
         "Tipo de identificación del usuario Documento no corresponde a la edad|C3 no puede ser "
         "blanco o vacio|Sexo : Contenido no cumple con los valores definidos|Zona de residencia "
         "habitual : Campo sin contenido|Unidad de medida de la edad no concuerda",
         "Edad", "130", 8},
        {"AC000001", "Código de la consulta|Diagnóstico principal",
         "Código de la consultaActividad no definidad en CUPS|X99Z no existe en CIE10",
         "Diagnóstico principal", "X99Z", 7},
        {"AH000001", "Causa básica de muerte",
         "Causa básica de muerte: Campo sin contenido|Causa básica de muerte: diagnóstico no "
         "existe en CIE10",
         "Estado a la salida", "2", 7},
        {"AD000001", "", "Estructura: Tiene un numero mayor de campos", "Valor total del concepto",
         "2000,9", 5},
        {"US000001", "", "Estructura del registro en campos", "Edad", "", 9},
        {"AP000001", "",
         "No se relaciona con un usuario: el registro de usuario no existe o no paso la validación",
         "Número de identificación del usuario", "0031234567", 4},
    };
    // Every failing file has its sheet, a row per line of its error file; the known lines' cells.
    for (const json& f : run["files"]) {
        if (f["failed"] == 0) continue;
        const json& s = sheet(book, f["code"]);
        EXPECT_EQ(s["freeze"], "A2");
        EXPECT_EQ(s["rows"].size(), lines_of(read_file(f["error_file"])).size() + 1) << f["code"];
    }
    for (const auto& k : known) {
        SCOPED_TRACE(std::string(k.sheet) + " line " + std::to_string(k.line));
        const json& rows = sheet(book, k.sheet)["rows"];
        const json* row = nullptr;
        for (const json& r : rows)
            if (r[0][0].is_number() && r[0][0].get<int>() == k.line) row = &r;
        ASSERT_NE(row, nullptr);
        std::string errors, value;
        std::set<std::string> marked;  // in the order of their names
        for (size_t c = 1; c < row->size(); ++c) {
            const std::string name = value_of(rows[0][c]), cell = value_of((*row)[c]);
            if (name.rfind("Error ", 0) == 0 && !cell.empty())
                errors += (errors.empty() ? "" : "|") + cell;
            if ((*row)[c][1]) marked.insert(name);
            if (name == k.heading) value = cell;
        }
        std::string marks;
        for (const auto& m : marked) marks += (marks.empty() ? "" : "|") + m;
        EXPECT_EQ(marks, k.marked);
        EXPECT_EQ(errors, k.errors);
        EXPECT_EQ(value, k.value);
    }
}

TEST_F(Workbooks, AReportHoldsTheCellsOfItsTextFormWithNumbersAsNumbers) {
    ASSERT_EQ(corvela(validate("--save")), 0);
    for (const char* kind : {"summary", "inconsistencies"}) {
        SCOPED_TRACE(kind);
        const std::filesystem::path file = inst.dir / (std::string(kind) + ".xlsx");
        ASSERT_EQ(corvela(std::string("report ") + kind +
                          " --ips 'IPS Salud Valle Sede Norte' --delivery 000001/1 --json "
                          "--xlsx '" +
                          file.string() + "'"),
                  0)
            << read_file(inst.dir / "err.txt");
        const json report = document();
        const json book = read_book(file);
        ASSERT_EQ(book["sheets"].size(), 1u);
        EXPECT_EQ(book["title"], report["title"]);
        const json& rows = book["sheets"][0]["rows"];
        ASSERT_EQ(rows.size(), report["rows"].size() + 1);
        // The book keeps the window's headings; the inconsistencies report's JSON names each
        // counts column ("Frecuencia") after its type, and gives the counts as numbers.
        const bool named = std::string(kind) == "inconsistencies";
        for (size_t c = 0; c < report["columns"].size(); ++c)
            EXPECT_EQ((named && c % 2 ? value_of(rows[0][c - 1]) + "_" : "") + value_of(rows[0][c]),
                      report["columns"][c]);
        int numbers = 0;
        for (size_t r = 0; r < report["rows"].size(); ++r)
            for (size_t c = 0; c < report["rows"][r].size(); ++c) {
                const json& cell = rows[r + 1][c];
                EXPECT_EQ(value_of(cell), value_of(json::array({report["rows"][r][c]})));
                numbers += cell[0].is_number();
            }
        EXPECT_GT(numbers, 0);
    }
}

TEST_F(Workbooks, AWindows1252LineIsShownInUtf8AndAValueTooLongIsCutWithANote) {
    const std::string long_line(40000, 'X');
    inst.write("US000001.txt",
               crlf({"CC,16789012,EPS005,1,GOMEZ,PEREZ,CARLOS,ANDRES,45,1,M,76,001,U",
                     "CC,0012AB,EPS005,1,PE\xD1"
                     "A,,JOS\xC9,,45,1,M,76,001,U",
                     long_line}));
    const std::filesystem::path file = inst.dir / "errores.xlsx";
    ASSERT_EQ(corvela(validate("--xlsx '" + file.string() + "'")), 0);
    const json book = read_book(file);
    const json& users = sheet(book, "US000001");
    ASSERT_EQ(users["rows"].size(), 3u);
    EXPECT_EQ(value_of(users["rows"][1][2]), "0012AB");
    EXPECT_EQ(value_of(users["rows"][1][5]), "PEÑA");
    EXPECT_EQ(value_of(users["rows"][1][7]), "JOSÉ");
    const std::string cut = value_of(users["rows"][2][1]);
    EXPECT_EQ(cut, std::string(32766, 'X') + "…");
    EXPECT_EQ(users["note"], "Valores recortados a 32.767 caracteres (terminan en …): 1");
}

TEST_F(Workbooks, AFileReadAgainKeepsOnlyItsSecondReadingAndGoesOnInMoreSheets) {
    FieldDefinitions defs(inst.ref(), "AC");
    FileContext fc;
    fc.type = "AC";
    fc.defs = &defs;
    fc.field_count = defs.count();
    ErrorsWorkbook book(inst.dir, 3);  // two lines a sheet under the header
    for (bool again : {false, true}) {
        book.file_started(fc, "AC000001.TXT", again);
        for (long n = 1; n <= (again ? 5 : 4); ++n) {
            fc.lines_read = n;
            fc.errors.clear();
            fc.description.clear();
            field_error(fc, 2, ": Campo sin contenido");
            book.record_failed(fc, "F" + std::to_string(n) + ",,x");
        }
    }
    EXPECT_EQ(book.failed_lines(), 5);
    const std::filesystem::path file = inst.dir / "partes.xlsx";
    book.save(file, RunSummary{});
    const json read = read_book(file);
    std::vector<std::string> names, first_fields;
    for (const json& s : read["sheets"]) {
        names.push_back(s["name"]);
        for (size_t r = 1; r < s["rows"].size() && s["name"] != "Resumen"; ++r)
            first_fields.push_back(value_of(s["rows"][r][0]) + ":" + value_of(s["rows"][r][1]));
    }
    EXPECT_EQ(names,
              (std::vector<std::string>{"Resumen", "AC000001", "AC000001 (2)", "AC000001 (3)"}));
    EXPECT_EQ(first_fields, (std::vector<std::string>{"1:F1", "2:F2", "3:F3", "4:F4", "5:F5"}));
    EXPECT_TRUE(sheet(read, "AC000001 (3)")["rows"][1][2][1]);  // field 2 marked
}

}  // namespace
}  // namespace corvela::testing
