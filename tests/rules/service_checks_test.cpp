#include "rules/service_checks.h"

#include <gtest/gtest.h>

#include "rules/error_recording.h"
#include "support/installation.h"

namespace corvela {
namespace {

struct ServiceChecks : ::testing::Test {
    testing::Installation inst;
    testing::ScriptedUi ui;
    testing::FixedClock clock{{2026, 12, 6}};
    std::unique_ptr<RunContext> run = inst.context(ui, clock, "AC000001.TXT", "15/3/2026");
    std::unique_ptr<FieldDefinitions> defs;
    FileContext fc;

    // A fresh line of a record of `type` with `n` fields, all empty.
    void line(const std::string& type, int n) {
        defs = std::make_unique<FieldDefinitions>(inst.ref(), type);
        fc = FileContext{};
        fc.type = type;
        fc.defs = defs.get();
        fc.field_count = n;
        fc.fields.assign(static_cast<size_t>(n) + 1, "");
        fill_marks(fc, static_cast<size_t>(n), '0');
        clear_line_slots(*run);
    }
    // The message `check_date` gives for field 6 holding `value` ("" when it passes).
    std::string date(const std::string& value) {
        line("AC", 17);
        fc.fields[6] = value;
        run->service_date = "unset";
        check_date(*run, fc, 6);
        return fc.description;
    }
    void user(const std::string& numero, const std::string& unidad, double edad,
              const std::string& sexo) {
        run->users.add("CC", numero, UserData{unidad, edad, sexo});
    }
};

TEST_F(ServiceChecks, DateRulesTheirMessagesAndTheDateOfAFailedOne) {
    const std::pair<const char*, const char*> cases[] = {
        {"  ", "Campo sin contenido"},
        {"00/00/0000", "campo fecha sin contenido correcto"},
        {"1/2/2026", "Fecha sin formato correcto"},
        {"31/02/2026", "Fecha sin formato correcto"},
        {"2026/02/01", "Fecha sin formato correcto"},
        {"31/12/2020", "Facha fuera de tiempo de presentación de RIPS"},
        {"07/12/2026", "Fecha mayor a la actual"},
        {"01/01/2021", ""},
        {"06-12-2026", ""},
        {"06/12/2026", ""},
    };
    for (auto [value, message] : cases) {
        EXPECT_EQ(date(value), *message ? std::string("Campo6 ") + message : "") << value;
        EXPECT_EQ(fc.line_errors, *message ? 1 : 0);
        EXPECT_EQ(fc.counters[counter_of_code(6)], *message ? 1 : 0);
        EXPECT_EQ(fc.marks[5], *message ? '1' : '0');
    }
    EXPECT_EQ(run->service_date, "06/12/2026");

    // A failed date falls back to the first day of the remission month.
    date("00/00/0000");
    EXPECT_EQ(run->service_date, "01/3/2026");
    run->delivery.header.remission_date = "01/10/2026";
    date("xx");
    EXPECT_EQ(run->service_date, "01/10/2026");
    // A remission text that is not a date is read by the numbers of its parts.
    run->delivery.header.remission_date = "00/7x/2025";
    date("");
    EXPECT_EQ(run->service_date, "01/7/2025");
}

TEST_F(ServiceChecks, UserRelation) {
    user("123", "1", 30, "F");
    line("AC", 17);
    fc.fields[9] = "M";
    relate_user(*run, fc, "cc", "123");
    EXPECT_EQ(fc.line_errors, 0);
    EXPECT_EQ(run->slots.user_sex, "F");
    EXPECT_EQ(run->slots.user_age, 30);

    relate_user(*run, fc, "CC", "999");
    EXPECT_EQ(fc.line_errors, 1);
    EXPECT_EQ(run->slots.user_message, "No relaciona usuario");
    EXPECT_EQ(fc.counters[counter_of_code(23)], 1);
    EXPECT_EQ(fc.description, "");

    // Only the medications file moves the service date, with a two-digit month.
    run->service_date = "10/10/2026";
    relate_user(*run, fc, "CC", "999");
    EXPECT_EQ(run->service_date, "10/10/2026");
    line("AM", 14);
    relate_user(*run, fc, "CC", "999");
    EXPECT_EQ(run->service_date, "01/03/2026");
}

TEST_F(ServiceChecks, NewbornSlotsComeFromTheRecordOnlyForAN) {
    user("123", "1", 30, "F");
    inst.add_cie10("P070", "A", "0", "0");
    line("AN", 14);
    fc.fields[9] = "M";
    relate_user(*run, fc, "CC", "123");
    EXPECT_EQ(run->slots.user_unit + "|" + run->slots.user_sex, "3|M");
    EXPECT_EQ(run->slots.user_age, 0);

    // An AH record with a male field 9 is still compared with its user's sex.
    run->dx_sex = "M";
    line("AH", 19);
    fc.fields[9] = "M";
    take_user_data(*run, "CC", "123");
    check_diagnosis_sex(*run, fc, 10);
    EXPECT_EQ(run->slots.sex_message, "Sexo no corresponde al DX");
    line("AN", 14);
    fc.fields[9] = "M";
    check_diagnosis_sex(*run, fc, 10);
    EXPECT_EQ(run->slots.sex_message, "");
}

// The age message of a diagnosis with limits inf/sup for a user of `edad` in `unidad`, on a
// record of `type`.
struct AgeCase {
    const char *inf, *sup, *unidad;
    double edad;
    bool fails;
};

TEST_F(ServiceChecks, DiagnosisAgeLimits) {
    const AgeCase cases[] = {
        {"405", "599", "1", 4, true},  {"405", "599", "1", 5, false},
        {"405", "599", "2", 3, false}, {"0", "412", "1", 13, true},
        {"0", "412", "1", 12, false},  {"0", "0", "1", 200, false},
        {"302", "0", "2", 1, true},    {"302", "0", "2", 120, false},
        {"201", "215", "3", 16, true}, {"201", "215", "1", 16, false},
        {"405.0", "", "01", 4, true},
    };
    for (const AgeCase& c : cases) {
        line("AC", 17);
        run->dx_sex = "A";
        run->dx_min_age = c.inf;
        run->dx_max_age = c.sup;
        run->slots.user_unit = c.unidad;
        run->slots.user_age = c.edad;
        run->slots.user_sex = "M";
        run->slots.age_message = "stale";
        check_diagnosis_sex(*run, fc, 10);
        SCOPED_TRACE(std::string(c.inf) + "/" + c.sup + " unit " + c.unidad);
        EXPECT_EQ(run->slots.age_message, c.fails ? "Edad no corresponde al DX" : "");
        EXPECT_EQ(fc.counters[counter_of_code(10)], c.fails ? 1 : 0);
        EXPECT_EQ(fc.line_errors, c.fails ? 1 : 0);
    }
}

TEST_F(ServiceChecks, CountersOfDiagnosisChecksDependOnTheType) {
    run->dx_min_age = "405";
    run->dx_max_age = "599";
    const std::pair<const char*, int> age_codes[] = {
        {"AC", 10}, {"AH", 10}, {"AP", 11}, {"AU", 8}, {"AM", 0}};
    for (auto [type, code] : age_codes) {
        line(type, 19);
        run->slots.user_unit = "1";
        run->slots.user_age = 2;
        check_diagnosis_age(*run, fc, 10);
        SCOPED_TRACE(type);
        EXPECT_EQ(fc.line_errors, 1);
        double total = 0;
        for (double c : fc.counters) total += c;
        EXPECT_EQ(total, code ? 1 : 0);
        if (code) {
            EXPECT_EQ(fc.counters[counter_of_code(code)], 1);
        }
    }

    // An empty user sex never fits, not even a diagnosis for any sex.
    run->dx_sex = "A";
    line("AC", 17);
    check_diagnosis_sex(*run, fc, 10);
    EXPECT_EQ(fc.counters[counter_of_code(24)], 1);
}

TEST_F(ServiceChecks, LookupsIgnoreCaseAndKeepTheLastDiagnosisFound) {
    // The run reads the reference rows once, at its first lookup.
    inst.add_cie10("N390", "F", "405", "599");
    inst.add_cups("890201", "AC", "A", "0", "0");
    inst.add_cups("735300", "AP", "F", "412", "450");
    line("AC", 17);
    check_diagnosis(*run, fc, "n390", 10);
    EXPECT_EQ(fc.line_errors, 0);
    check_diagnosis(*run, fc, "ZZZZ", 10);
    EXPECT_EQ(fc.line_errors, 1);
    EXPECT_EQ(run->slots.diagnosis_message, "ZZZZ no existe en CIE10");
    EXPECT_EQ(fc.description, "");
    EXPECT_EQ(run->dx_sex + run->dx_min_age + run->dx_max_age, "F405599");

    // The procedure sets the sex the diagnosis checks compare with.
    run->dx_sex.clear();
    user("1", "1", 30, "M");
    line("AC", 17);
    check_procedure(*run, fc, 7, "ac000001.txt", "890201", "CC", "1");
    EXPECT_EQ(fc.line_errors, 0);
    line("AP", 15);
    check_procedure(*run, fc, 7, "AP000001.TXT", "735300", "CC", "1");
    EXPECT_EQ(fc.description, "Campo7Sexo no corresponde al procedimiento");
    EXPECT_EQ(run->dx_sex, "F");
}

}  // namespace
}  // namespace corvela
