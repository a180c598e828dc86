// The documents `--json` prints for scripts, read as a script would and checked against the rows
// the commands leave: a saved run of the sample delivery, a run stopped by the unsaved-data
// question and both reports.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <set>

#include "support/command.h"

namespace corvela::testing {
namespace {

using nlohmann::json;

class JsonOutput : public ::testing::Test {
  protected:
    // Runs the command line on the sample installation; standard output and error are kept
    // apart.
    int corvela(const std::string& args) { return run_corvela(inst, args, out(), err()); }
    std::string validate(const std::string& options) {
        return "validate '" + inst.delivery.string() + "' --today 2026-12-06 --json " + options;
    }
    json document() const { return json::parse(read_file(out())); }
    std::filesystem::path out() const { return inst.dir / "out.json"; }
    std::filesystem::path err() const { return inst.dir / "err.txt"; }

    // One number per row of a query with `text` bound to its one parameter.
    std::vector<long long> numbers(const std::string& sql, const std::string& text) {
        Statement st = inst.work().prepare(Installation::every_error_row(sql));
        st.bind(1, text);
        std::vector<long long> out;
        while (st.step())
            for (int c = 0; c < st.column_count(); ++c) out.push_back(st.integer(c));
        return out;
    }

    Installation inst{Sample{}};
};

long long lines_of(const std::string& path) {
    std::string bytes = read_file(path);
    return static_cast<long long>(std::count(bytes.begin(), bytes.end(), '\n'));
}

TEST_F(JsonOutput, ASavedRunGivesWhatItCountedStoredAndWrote) {
    ASSERT_EQ(corvela(validate("--save")), 0) << read_file(err());
    const json doc = document();
    EXPECT_EQ(doc["exit_status"], 0);
    EXPECT_EQ(doc["run_state"], "S");
    EXPECT_EQ(doc["radicacion"], inst.number("SELECT max(nro_radicacion) FROM radicacion"));
    EXPECT_EQ(doc["messages"].back()["title"], "Final de proceso.");
    // Texts carry line breaks where the box shows CR.
    const std::string summary_text = doc["messages"][doc["messages"].size() - 2]["text"];
    EXPECT_EQ(summary_text.find('\r'), std::string::npos);
    EXPECT_EQ(summary_text.rfind("Leidos:  70\nPasaron: 28\n", 0), 0u);

    long long read = 0, passed = 0;
    ASSERT_EQ(doc["files"].size(), 10u);
    for (const auto& f : doc["files"]) {
        const std::string type = f["code"].get<std::string>().substr(0, 2);
        SCOPED_TRACE(type);
        EXPECT_EQ(numbers("SELECT leidos, pasaron, Errados FROM registros WHERE archivo = ?", type),
                  (std::vector<long long>{f["read"], f["passed"], f["failed"]}));
        std::string counters;
        for (int k = 1; k <= 30; ++k) counters += (k > 1 ? ", C" : "C") + std::to_string(k);
        std::vector<long long> counted;
        for (int k = 1; k <= 30; ++k) counted.push_back(f["counters"]["C" + std::to_string(k)]);
        EXPECT_EQ(numbers("SELECT " + counters + " FROM ERRORES WHERE tipo = ?", type), counted);
        EXPECT_EQ(lines_of(f["accepted_file"]), f["passed"]);
        EXPECT_EQ(lines_of(f["error_file"]), f["failed"]);
        read += f["read"].get<long long>();
        passed += f["passed"].get<long long>();
    }
    EXPECT_EQ(doc["summary"]["read"], read);
    EXPECT_EQ(doc["summary"]["passed"], passed);
    EXPECT_EQ(doc["summary"]["failed"], read - passed);

    std::vector<long long> months;
    for (const auto& m : doc["months"]) {
        months.push_back(m["month"]);
        months.push_back(m["year"]);
    }
    EXPECT_EQ(
        numbers("SELECT mes, ano FROM periodos WHERE num_remision = ? ORDER BY ano, mes", "000001"),
        months);
}

TEST_F(JsonOutput, ARunStoppedByTheUnsavedDataQuestionRecordsTheAnswer) {
    ASSERT_EQ(corvela(validate("")), 0);
    ASSERT_EQ(corvela(validate("--yes")), 1);
    const json doc = document();
    EXPECT_EQ(doc["exit_status"], 1);
    ASSERT_EQ(doc["messages"].size(), 1u);
    EXPECT_EQ(doc["messages"][0]["title"], "Existe Información.");
    EXPECT_EQ(doc["messages"][0]["text"],
              "Existe información en tablas temporales que no se ha cargado.\n¿Desea cargarla.?");
    EXPECT_EQ(doc["messages"][0]["answer"], "Sí");
    EXPECT_EQ(doc["run_state"], "N");
    EXPECT_TRUE(doc["radicacion"].is_null());
    // Nothing was counted by this run.
    EXPECT_TRUE(doc["files"][0]["counters"].is_null());
}

TEST_F(JsonOutput, ReportsGiveTheirTableAndPage) {
    ASSERT_EQ(corvela(validate("--save")), 0);
    const std::string ips = "--ips 'IPS Salud Valle Sede Norte' --delivery 000001/1 --json";

    ASSERT_EQ(corvela("report summary " + ips), 0) << read_file(err());
    json doc = document();
    EXPECT_EQ(doc["columns"][0], "Archivo");
    ASSERT_EQ(doc["rows"].size(), 10u);
    for (const auto& row : doc["rows"]) {
        const std::string type = row[0];
        EXPECT_EQ(numbers("SELECT leidos FROM registros WHERE archivo = ?", type),
                  std::vector<long long>{std::stoll(row[1].get<std::string>())})
            << type;
    }
    EXPECT_TRUE(doc["page"].is_null());

    const std::string page = (inst.dir / "informe.html").string();
    ASSERT_EQ(corvela("report inconsistencies " + ips + " --html '" + page + "'"), 0);
    doc = document();
    EXPECT_EQ(doc["page"], page);
    EXPECT_TRUE(std::filesystem::exists(page));
    // Unlike the summary's texts, each column has a name of its own, a file type's counts being
    // numbers under "<type>_Frecuencia"; the last row holds each type's total.
    const auto columns = doc["columns"].get<std::vector<std::string>>();
    EXPECT_EQ(std::set<std::string>(columns.begin(), columns.end()).size(), columns.size());
    EXPECT_EQ(columns[0] + "|" + columns[1], "Usuarios|Usuarios_Frecuencia");
    ASSERT_EQ(doc["rows"].size(), 30u);
    EXPECT_EQ(doc["rows"][29][0], "Total inconsistencias");
    std::string total = "C1";
    for (int k = 2; k <= 29; ++k) total += " + C" + std::to_string(k);
    EXPECT_EQ(numbers("SELECT " + total + " FROM ERRORES WHERE tipo = ?", "US"),
              std::vector<long long>{doc["rows"][29][1]});
}

}  // namespace
}  // namespace corvela::testing
