// A desktop session over a test installation: one program that validates deliveries written into
// the delivery folder and then saves, reports or deletes them, as an operator would in one sitting.
#pragma once

#include <SQLiteCpp/SQLiteCpp.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/program.h"
#include "app/validation_run.h"
#include "support/installation.h"

namespace corvela::testing {

// Two users that pass and one that fails, and one passing grouped-description line.
inline const std::vector<std::string> kUsers = {
    "CC,16789012,EPS005,1,GOMEZ,PEREZ,CARLOS,ANDRES,45,1,M,76,001,U",
    "TI,1006123456,EPS005,C,LOPEZ,,MARIA,,12,1,F,76,001,U",
    "CC,12AB45,EPS005,1,TORRES,,LUIS,,30,1,M,76,001,U",
};
inline const std::vector<std::string> kDescriptions = {"FE1001,760010012301,01,2,35000,70000"};

class DeliverySession {
  public:
    DeliverySession() : clock({2026, 12, 6}) {
        program = std::make_unique<Program>(ui, clock);
        program->start(inst.config);
    }

    // Replaces the delivery folder's files with a control file naming a users file and a grouped
    // description file of remission `remission`.
    void write_delivery(const std::string& remission,
                        const std::vector<std::string>& users = kUsers,
                        const std::vector<std::string>& descriptions = kDescriptions,
                        const std::string& date = "01/11/2026") {
        for (const auto& e : std::filesystem::directory_iterator(inst.delivery))
            std::filesystem::remove(e.path());
        std::string ct = std::string(kIps) + "," + date + ",US" + remission + "," +
                         std::to_string(users.size()) + "\r\n" + kIps + "," + date + ",AD" +
                         remission + "," + std::to_string(descriptions.size()) + "\r\n";
        inst.write("CT" + remission + ".txt", ct);
        inst.write("US" + remission + ".txt", join(users));
        inst.write("AD" + remission + ".txt", join(descriptions));
    }

    RunOutcome run() { return BLeer_Click(*program, inst.delivery); }

    // One number of the working database.
    double number(const std::string& sql) {
        SQLite::Statement st(inst.work().db(), sql);
        if (!st.executeStep() || st.getColumn(0).isNull()) return -1;
        return st.getColumn(0).getDouble();
    }
    long long count(const std::string& sql) { return inst.work().count(sql); }
    // The rows of a query, columns joined by "|".
    std::vector<std::string> rows(const std::string& sql) {
        SQLite::Statement st(inst.work().db(), sql);
        std::vector<std::string> out;
        while (st.executeStep()) {
            std::string row;
            for (int i = 0; i < st.getColumnCount(); ++i)
                row += (i ? "|" : "") + (st.getColumn(i).isNull() ? std::string("null")
                                                                  : st.getColumn(i).getString());
            out.push_back(row);
        }
        return out;
    }

    Installation inst;
    ScriptedUi ui;
    FixedClock clock;
    std::unique_ptr<Program> program;

  private:
    static std::string join(const std::vector<std::string>& lines) {
        std::string out;
        for (const auto& l : lines) out += l + "\r\n";
        return out;
    }
};

}  // namespace corvela::testing
