#include "cli/command.h"

#include <cstdio>
#include <optional>

#include "headless/json_output.h"
#include "platform/clock.h"
#include "platform/config.h"
#include "platform/terminal.h"
#include "platform/text.h"

namespace corvela::cli {

int run_session(const GlobalOptions& global, const SessionOptions& options,
                const std::function<int(Program&, ConsoleUi&)>& body) {
    std::optional<Date> fixed_today;
    if (!options.today.empty()) {
        fixed_today = parse_iso_date(options.today);
        if (!fixed_today) {
            std::fprintf(stderr, "--today debe ser una fecha AAAA-MM-DD: %s\n",
                         options.today.c_str());
            return kExitFailure;
        }
    }
    SystemClock system_clock;
    FixedDateClock fixed_clock(fixed_today.value_or(Date{}));
    const Clock& clock = fixed_today ? static_cast<const Clock&>(fixed_clock) : system_clock;
    ConsoleUi ui(options.answer_yes, stderr_is_terminal(), options.json);
    Program program(ui, clock);
    if (!program.start(configuration_path(global.config)).ok()) {
        ui.print_recorded(stderr);
        return kExitFailure;
    }
    // A command that changes the working database holds the installation's lock from here to its
    // end, the kept run state included; a second one stops with a message.
    std::optional<OperationScope> scope;
    if (options.locks) {
        scope.emplace(program, options.reach);
        if (!scope->ok()) {
            if (options.json)
                print_json({{"exit_status", kExitStopped}, {"messages", messages_json(ui)}});
            return kExitStopped;
        }
    }
    try {
        return body(program, ui);
    } catch (const DatabaseFailure& e) {
        ui.print_recorded(stderr);
        std::fprintf(stderr, "Error de base de datos %d: %s\n", e.number, e.what());
        return kExitFailure;
    }
}

}  // namespace corvela::cli
