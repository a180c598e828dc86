// What outlives a line or a file during one validation run: the databases, the operator's UI,
// the clock, the delivery as the run read it, the service date, the slots of the last diagnosis
// found, the maximum length in force, the per-line message slots, the users of the run and the
// reference tables.
#pragma once

#include <memory>
#include <string>
#include <unordered_map>

#include "db/database.h"
#include "platform/clock.h"
#include "platform/ui.h"
#include "rules/delivery.h"
#include "rules/failed_lines.h"
#include "rules/field_definitions.h"
#include "rules/reference_cache.h"
#include "rules/users_index.h"

namespace corvela {

// The message slots of a line, emptied at the start of each line.
struct LineSlots {
    std::string user_unit;
    double user_age = 0;
    std::string user_sex;
    std::string user_message;
    std::string diagnosis_message;
    std::string sex_message;
    std::string age_message;
    std::string procedure_message;
};

struct RunContext {
    RunContext(Database& w, Database& r, Ui& u, const Clock& c)
        : work(w), ref(r), ui(u), clock(c) {}

    Database& work;
    Database& ref;
    Ui& ui;
    const Clock& clock;

    std::string results_folder;
    // The delivery under validation: its header and control records as the run read them.
    Delivery delivery;

    // The data file under validation.
    std::string data_file_name;  // control-file code + ".TXT"
    std::string ips_code;        // IPS code of the file's control record

    // Shared slots.
    std::string service_date;
    double length_in_force = 0;
    // The field definition in force, of the current data file.
    const FieldDefinition* field_in_force = nullptr;
    std::string dx_sex, dx_min_age, dx_max_age;  // last diagnosis found
    LineSlots slots;

    UsersIndex users;  // reads `usuario` itself once `use_table` was called
    std::unique_ptr<ReferenceCache> reference;

    // Every lookup reads the database instead of the tables held in memory (for checking that
    // both give the same results).
    bool uncached = false;
    // 2: a writer thread stores the rows of passing lines while the lines after them are
    // validated; 1: each row is stored as its line passes.
    int threads = 1;
    // Told of every failing line besides the error file, when set (the errors workbook).
    FailedLines* failed_lines = nullptr;

    ReferenceCache& references() {
        if (!reference) reference = std::make_unique<ReferenceCache>(ref, uncached);
        return *reference;
    }
};

// Empties the message slots of the line.
inline void clear_line_slots(RunContext& run) {
    run.slots = LineSlots{};
}

}  // namespace corvela
