// What every subcommand of `corvela` shares: its registration with the parser, the exit statuses,
// and the session a command runs in (today's date, the console's UI, start-up, the installation's
// lock, database failures).
#pragma once

#include <CLI/CLI.hpp>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/program.h"
#include "app/save.h"
#include "headless/console_ui.h"
#include "headless/json_output.h"

namespace corvela::cli {

// Options every command takes.
struct GlobalOptions {
    std::string config;
    const char* argv0 = nullptr;  // how the program was started, to find its installed files
};

// A registered subcommand and what runs it once the command line chose it.
struct Command {
    CLI::App* app = nullptr;
    std::function<int()> run;
};

// How a command that opens the installation runs.
struct SessionOptions {
    std::string today;          // --today, empty for the system's date
    bool answer_yes = false;    // the answer to every Yes/No question
    bool locks = false;         // changes the working database: holds the installation's lock
    bool json = false;          // the command prints a document for scripts (--json)
    Reach reach = Reach::Desk;  // what it changes, for the locks of a server
};

// Starts the program over the configured installation and runs `body` with it: its exit status,
// or kExitFailure when the date, start-up or the database failed (after saying why), kExitStopped
// when another operation holds the lock. With `json`, a failure's boxes go to standard error and
// a stop on the lock is a document of its own.
int run_session(const GlobalOptions& global, const SessionOptions& options,
                const std::function<int(Program&, ConsoleUi&)>& body);

// The registration of each command; `main` only wires them.
Command add_init(CLI::App& app, const GlobalOptions& global);
Command add_sedes(CLI::App& app, const GlobalOptions& global);
Command add_reference(CLI::App& app, const GlobalOptions& global);
Command add_validate(CLI::App& app, const GlobalOptions& global);
Command add_save(CLI::App& app, const GlobalOptions& global);
Command add_deliveries(CLI::App& app, const GlobalOptions& global);
Command add_report(CLI::App& app, const GlobalOptions& global);
Command add_clean(CLI::App& app, const GlobalOptions& global);
Command add_delete(CLI::App& app, const GlobalOptions& global);
Command add_compact(CLI::App& app, const GlobalOptions& global);
Command add_backup(CLI::App& app, const GlobalOptions& global);
Command add_migrate(CLI::App& app, const GlobalOptions& global);
Command add_usuarios(CLI::App& app, const GlobalOptions& global);

}  // namespace corvela::cli
