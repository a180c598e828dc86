// A desktop session over a test installation: one program that validates the delivery folder and
// then saves, reports or deletes, as an operator would in one sitting.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/program.h"
#include "app/save.h"
#include "app/validation_run.h"
#include "support/command.h"
#include "support/installation.h"

namespace corvela::testing {

// Two users that pass and one that fails, and one passing grouped-description line.
inline const std::vector<std::string> kUsers = {
    "CC,16789012,EPS005,1,GOMEZ,PEREZ,CARLOS,ANDRES,45,1,M,76,001,U",
    "TI,1006123456,EPS005,C,LOPEZ,,MARIA,,12,1,F,76,001,U",
    "CC,12AB45,EPS005,1,TORRES,,LUIS,,30,1,M,76,001,U",
};
inline const std::vector<std::string> kDescriptions = {"FE1001,760010012301,01,2,35000,70000"};

class SessionTest : public ::testing::Test {
  protected:
    SessionTest() : program(std::make_unique<Program>(ui, clock)) {
        EXPECT_TRUE(program->start(inst.config).ok());
    }

    // Replaces the delivery folder's files with a control file naming a users file and a grouped
    // description file of remission `remission`.
    void write_delivery(const std::string& remission,
                        const std::vector<std::string>& users = kUsers,
                        const std::vector<std::string>& descriptions = kDescriptions) {
        for (const auto& e : std::filesystem::directory_iterator(inst.delivery))
            std::filesystem::remove(e.path());
        const std::string head = std::string(kIps) + ",01/11/2026,";
        control({head + "US" + remission + "," + std::to_string(users.size()),
                 head + "AD" + remission + "," + std::to_string(descriptions.size())},
                "CT" + remission + ".txt");
        inst.write("US" + remission + ".txt", crlf(users));
        inst.write("AD" + remission + ".txt", crlf(descriptions));
    }
    void control(const std::vector<std::string>& lines, const std::string& name = "CT000001.TXT") {
        inst.write(name, crlf(lines));
    }

    // "Leer Archivos" over the delivery folder, with the run state set first when given.
    Status run(std::optional<RunState> run_state = std::nullopt) {
        if (run_state) program->run_state = *run_state;
        return run_validation(*program, inst.delivery);
    }
    // Runs the command line on this installation, with a fault point when given; its exit status
    // (128 + the signal when it was killed). Its output is in `output()`.
    int corvela(const std::string& args, const std::string& fault = "") {
        return run_corvela(inst, args, inst.dir / "out.txt", "", fault);
    }
    std::string output() const { return read_file(inst.dir / "out.txt"); }

    // The delivery of `remission` validated, its messages and questions cleared.
    void validated(const std::string& remission) {
        write_delivery(remission);
        ASSERT_EQ(run().ending(), Ending::Done);
        ui.messages.clear();
        ui.questions.clear();
    }
    // One invoice of the site in the working tables: a saved radicación without invoices counts
    // as not stored and cannot be deleted.
    void invoice(const std::string& remission) {
        run_sql(inst.work(),
                "INSERT INTO transacciones (COD_IPS, num_factura, num_radicacion) VALUES (?, ?, 0)",
                kIps, "FE" + remission);
    }
    // The delivery of `remission` validated and saved, with an invoice when asked.
    void saved(const std::string& remission, bool with_invoice = false) {
        validated(remission);
        if (with_invoice) invoice(remission);
        ASSERT_EQ(save_delivery(*program).ending(), Ending::Done);
        ui.messages.clear();
        ui.questions.clear();
    }
    long long count(const std::string& sql) {
        return inst.work().count(Installation::every_error_row(sql));
    }
    // The number of rows of each table named, separated by blanks.
    std::string sizes(const std::string& tables) {
        std::istringstream in(tables);
        std::string table, out;
        while (in >> table)
            out += (out.empty() ? "" : " ") + std::to_string(count("SELECT * FROM " + table));
        return out;
    }

    // The first message shown with `title`, or null.
    const ShownMessage* shown(const std::string& title) const {
        for (const auto& m : ui.messages)
            if (m.title == title) return &m;
        return nullptr;
    }

    Installation inst;
    ScriptedUi ui;
    FixedClock clock{Date{2026, 12, 6}};
    std::unique_ptr<Program> program;
};

}  // namespace corvela::testing
