// A program opened on a session's desk for one request or one operation: the desk's configuration
// (its folder under the results root as the results root), the desk's lock file, both databases,
// and the run state the desk's working database keeps. Start-up's failure message, when a database
// does not open, goes to the UI given.
#pragma once

#include <functional>
#include <nlohmann/json.hpp>
#include <string>

#include "app/program.h"
#include "headless/console_ui.h"
#include "web/service_state.h"

namespace corvela::web {

class DeskProgram {
  public:
    DeskProgram(ServiceState& state, const std::string& desk, Ui& ui);
    // False when a database did not open: how it failed is among the program's boxes.
    bool ok() const { return opened_.ok(); }
    Program& operator*() { return program_; }
    Program* operator->() { return &program_; }

  private:
    Program program_;
    Status opened_ = Status::failed();
};

// What an operation on the desk's kept run does as the command line's `validate` and `save` do:
// the desk's program opened, the desk's lock held from the loading of the kept run state to its
// storing, and `body` between; its document. A database that
// does not open, or a lock another program holds, gives the document of those boxes alone.
nlohmann::ordered_json on_kept_run(ServiceState& state, const std::string& desk, ConsoleUi& ui,
                                   const std::function<nlohmann::ordered_json(Program&)>& body);

// The document of an operation that ended on its boxes alone.
nlohmann::ordered_json boxes_document(int exit_status, const ConsoleUi& ui);

}  // namespace corvela::web
