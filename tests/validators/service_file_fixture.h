// A fixture for the validators of service files: one installation, a scripted UI, a clock fixed
// on 6 December 2026 and a run context on one data file; helpers to run a validator over given
// lines and read back the error file, the counters of its ERRORES row and the stored rows.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "support/installation.h"
#include "validators/frame.h"

namespace corvela::testing {

// The record of the given fields, with field k (1-based) replaced where `changes` says so.
inline std::string record(std::vector<std::string> fields,
                          const std::map<int, std::string>& changes) {
    for (const auto& [k, v] : changes) fields.at(static_cast<size_t>(k - 1)) = v;
    std::string line;
    for (size_t i = 0; i < fields.size(); ++i) line += (i ? "," : "") + fields[i];
    return line;
}

class ServiceFileTest : public ::testing::Test {
  protected:
    Installation inst;
    ScriptedUi ui;
    FixedClock clock{Date{2026, 12, 6}};
    std::unique_ptr<RunContext> ctx;
    std::string file_name;

    // Prepares a run context for the data file `name` (e.g. "AU000001.TXT").
    void open(const std::string& name) {
        file_name = name;
        ctx = inst.context(ui, clock, name);
    }

    void user(const std::string& tipo, const std::string& numero, const std::string& sexo,
              double edad = 30, const std::string& unidad = "1") {
        ctx->users.add(tipo, numero, UserData{unidad, edad, sexo});
    }

    FileCounts run(RecordValidator& v, std::initializer_list<std::string> lines) {
        inst.write(file_name, crlf(lines));
        return leer_archivo(*ctx, v, inst.delivery / file_name);
    }

    // The lines of the error file of the last run, without their CR LF (a later run over the same
    // file writes the "_1.ERR" file).
    std::vector<std::string> error_lines() const {
        std::string stem = std::string(kIps) + "_" + file_name.substr(0, file_name.size() - 4);
        bool again = std::filesystem::exists(inst.results() + stem + "_1.ERR");
        std::string text = inst.result(stem + (again ? "_1.ERR" : ".ERR"));
        std::vector<std::string> lines;
        size_t at = 0;
        while (at < text.size()) {
            size_t end = text.find("\r\n", at);
            if (end == std::string::npos) end = text.size();
            lines.push_back(text.substr(at, end - at));
            at = end + 2;
        }
        return lines;
    }

    // Counter Cn of the last ERRORES row of the file's type.
    double counter(int n) {
        SQLite::Statement st(
            inst.work().db(),
            "SELECT C" + std::to_string(n) + " FROM ERRORES WHERE tipo = ? ORDER BY rowid DESC");
        st.bind(1, file_name.substr(0, 2));
        return st.executeStep() ? st.getColumn(0).getDouble() : -1;
    }

    // The stored rows of `table`, the given columns of each as text ("<null>" for null), in
    // insertion order.
    std::vector<std::vector<std::string>> rows(const std::string& table,
                                               const std::vector<std::string>& columns) {
        std::string cols;
        for (const auto& c : columns) cols += (cols.empty() ? "" : ", ") + c;
        SQLite::Statement st(inst.work().db(),
                             "SELECT " + cols + " FROM " + table + " ORDER BY rowid");
        std::vector<std::vector<std::string>> out;
        while (st.executeStep()) {
            std::vector<std::string> r;
            for (int i = 0; i < st.getColumnCount(); ++i)
                r.push_back(st.getColumn(i).isNull() ? "<null>" : st.getColumn(i).getString());
            out.push_back(r);
        }
        return out;
    }
};

}  // namespace corvela::testing
