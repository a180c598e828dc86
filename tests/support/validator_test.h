// A fixture for one validator: an installation, a scripted UI, a clock fixed on 6 December 2026
// and a run context on one data file; helpers to run the validator over given lines and read back
// the error file, the accepted lines, the counters of the ERRORES row and the stored rows.
// Lines and what they fail with are tables: each line is written once, with its description.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/text.h"
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

// Values that would change a statement if one were ever built from them.
inline const std::vector<std::string> kInjections = {"'", "\"", ";", "--", "x' OR '1'='1"};

// A line of a data file and the description it fails with ("" when it passes).
using Line = std::pair<std::string, std::string>;

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
    // Runs the lines; the error file must hold the failing ones, each with its number in the file
    // and its description after the type's separator.
    FileCounts expect_errors(const std::vector<Line>& lines, const std::string& separator = " / ") {
        std::vector<std::string> file;
        std::string expected;
        for (const auto& [line, description] : lines) {
            file.push_back(line);
            if (!description.empty())
                expected += line + separator + "linea " +
                            number_text(static_cast<double>(file.size())) + " Error de " +
                            description + "\r\n";
        }
        FileCounts counts = run_bytes(crlf(file));
        EXPECT_EQ(errors(), expected);
        return counts;
    }
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
