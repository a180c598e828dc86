#include "web/desk_program.h"

#include "headless/json_output.h"
#include "web/desk_folders.h"

namespace corvela::web {

DeskProgram::DeskProgram(ServiceState& state, const std::string& desk, Ui& ui)
    : program_(ui, state.clock) {
    // The desk's folder holds its lock and its results; a run makes only the last folder.
    std::filesystem::create_directories(desk_folders(state.config, desk).root);
    program_.lock_file = desk_lock_file(state.config, desk);
    program_.config_path = state.config_file;
    opened_ = program_.open(desk_configuration(state.config, desk));
}

nlohmann::ordered_json boxes_document(int exit_status, const ConsoleUi& ui) {
    return {{"exit_status", exit_status}, {"messages", messages_json(ui)}};
}

nlohmann::ordered_json on_kept_run(ServiceState& state, const std::string& desk, ConsoleUi& ui,
                                   const std::function<nlohmann::ordered_json(Program&)>& body) {
    DeskProgram program(state, desk, ui);
    if (!program.ok()) return boxes_document(kExitFailure, ui);
    OperationScope scope(*program);
    if (!scope.ok()) return boxes_document(kExitStopped, ui);
    program->load_run_state();
    auto document = body(*program);
    program->store_run_state();
    return document;
}

}  // namespace corvela::web
