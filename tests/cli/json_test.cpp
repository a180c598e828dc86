// The documents `--json` prints for scripts, read as a script would and checked against the rows
// the commands leave: a saved run of the sample delivery and a report's page (a run stopped by a
// question is read through the web service, which gives the same document).
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

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
    // The months of the services, as the periods of the saved delivery hold them.
    EXPECT_EQ(doc["months"],
              json::parse(R"([{"month": 11, "year": 2026}, {"month": 12, "year": 2026}])"));
    EXPECT_EQ(numbers("SELECT mes FROM periodos WHERE num_remision = ? ORDER BY mes", "000001"),
              (std::vector<long long>{11, 12}));
}

// The reports' cells are checked against their workbooks; here the page the document names.
TEST_F(JsonOutput, AReportGivesThePageItWrote) {
    ASSERT_EQ(corvela(validate("--save")), 0);
    const std::string ips = "--ips 'IPS Salud Valle Sede Norte' --delivery 000001/1 --json";
    ASSERT_EQ(corvela("report summary " + ips), 0) << read_file(err());
    EXPECT_TRUE(document()["page"].is_null());
    const std::string page = (inst.dir / "informe.html").string();
    ASSERT_EQ(corvela("report inconsistencies " + ips + " --html '" + page + "'"), 0);
    EXPECT_EQ(document()["page"], page);
    EXPECT_TRUE(std::filesystem::exists(page));
}

}  // namespace
}  // namespace corvela::testing
