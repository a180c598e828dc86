// A fixture for one validator: an installation, a scripted UI, a clock fixed on 6 December 2026
// and a run context on one data file; helpers to run the validator over given lines and read back
// the error file, the accepted lines, the counters of the ERRORES row and the stored rows.
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

inline constexpr const char* kNoUser =
    "No se relaciona con un usuario: el registro de usuario no existe o no paso la validación";

template <class V>
class ValidatorTest : public ::testing::Test {
  protected:
    // `name` is the data file, e.g. "AU000001.TXT".
    explicit ValidatorTest(std::string name)
        : file_name(std::move(name)), ctx(inst.context(ui, clock, file_name)) {}

    void user(const std::string& tipo, const std::string& numero, const std::string& sexo,
              double edad = 30, const std::string& unidad = "1") {
        ctx->users.add(tipo, numero, UserData{unidad, edad, sexo});
    }

    FileCounts run(std::initializer_list<std::string> lines) { return run_bytes(crlf(lines)); }
    FileCounts run_bytes(const std::string& bytes) {
        inst.write(file_name, bytes);
        return validate_file(*ctx, validator, inst.delivery / file_name);
    }

    // The error file of the last run (a later run over the same file writes the "_1.ERR" file).
    std::string errors() const {
        std::string stem = std::string(kIps) + "_" + file_name.substr(0, file_name.size() - 4);
        bool again = std::filesystem::exists(inst.results() + stem + "_1.ERR");
        return inst.result(stem + (again ? "_1.ERR" : ".ERR"));
    }
    std::string accepted() const { return inst.result(std::string(kIps) + "_" + file_name); }

    // Counters Cn of the last ERRORES row.
    std::vector<int> counters(std::initializer_list<int> codes) {
        std::vector<int> out;
        for (int n : codes)
            out.push_back(static_cast<int>(
                inst.number("SELECT C" + std::to_string(n) + " FROM ERRORES ORDER BY rowid DESC")));
        return out;
    }
    std::vector<std::string> rows(const std::string& sql) { return inst.rows(sql); }

    Installation inst;
    ScriptedUi ui;
    FixedClock clock{Date{2026, 12, 6}};
    std::string file_name;
    std::unique_ptr<RunContext> ctx;
    V validator;
};

}  // namespace corvela::testing
