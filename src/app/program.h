// The state of the running program, owned by the main window or the command: the configuration,
// the two open databases, the run state ("I", "N", "S"), the file last selected or processed,
// and the control-file table of the last run.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "db/database.h"
#include "platform/clock.h"
#include "platform/config.h"
#include "platform/ui.h"
#include "rules/control_table.h"

namespace corvela {

struct Program {
    Program(Ui& u, const Clock& c) : ui(u), clock(c) {}

    Ui& ui;
    const Clock& clock;
    Configuration config;
    std::unique_ptr<Database> ref;
    std::unique_ptr<Database> work;
    std::string run_state;  // empty until start-up sets it
    std::string full_path;  // file last selected or processed
    std::string data_file_name;
    ControlTable control;
    double radicacion = 0;
    // Runs read every reference row and user from the database at each lookup (a check that the
    // tables held in memory give the same results).
    bool uncached = false;

    // `Form_Load`: configuration, size warning, both databases, run state "I". False when a step
    // failed (its message was shown).
    bool start(const std::filesystem::path& config_path);

    // The last run's state kept in the working database: run state, header boxes and the
    // control-file table, so that a later command can save it or ask about it.
    void load_run_state();
    void store_run_state();
};

// The size in KB above which start-up warns about the working database.
inline constexpr double kSizeWarningKb = 1800000;

}  // namespace corvela
