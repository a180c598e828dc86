// What outlives a line or a file during one validation run: the databases, the operator's UI,
// the clock, the control-file table, the run's header values, the service date
// `fecha_atencion`, the slots of the last diagnosis found, the length slot of `lee_campo`, the
// per-line message slots, the users of the run and the reference tables.
#pragma once

#include <memory>
#include <string>
#include <unordered_map>

#include "db/database.h"
#include "platform/clock.h"
#include "platform/ui.h"
#include "rules/control_table.h"
#include "rules/failed_lines.h"
#include "rules/field_definitions.h"
#include "rules/reference_cache.h"
#include "rules/users_index.h"

namespace corvela {

// The message slots that `limpia_mensajes` empties at the start of each line.
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
    ControlTable control;
    double radicacion = 0;
    std::string cod_eapb_box;    // text of the COD_EAPB box
    std::string nremision_box;   // text of the NREMISION box
    std::string remission_date;  // text of the FECHAREMI box: the delivery's remission date

    // The data file under validation.
    std::string data_file_name;  // control-file code + ".TXT"
    std::string ips_code;        // IPS code of the file's control record

    // Shared slots.
    std::string fecha_atencion;
    double length_slot = 0;
    // The field definition in force (its `tipo` and `tabla`), of the current data file.
    const FieldDefinition* field_slot = nullptr;
    std::string dx_sexo, dx_lim_inf, dx_lim_sup;  // last diagnosis found
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

// `limpia_mensajes`.
inline void limpia_mensajes(RunContext& run) {
    run.slots = LineSlots{};
}

}  // namespace corvela
