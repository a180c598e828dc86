// The number and description of a failure as the operator is shown them ("Se presento el
// Error # ..."): the operating system's error number and message for a file, the runtime's own
// number for its conversions, and the engine's number and text for a database (whose failures are
// numbered failures too).
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

#include "platform/ui.h"

namespace corvela {

// A failure carrying its own number: the runtime's for its own routines, a database engine's for
// a database.
class NumberedFailure : public std::runtime_error {
  public:
    NumberedFailure(int failure_number, const std::string& description)
        : std::runtime_error(description), number(failure_number) {}
    int number;
};

struct FailureInfo {
    int number = 0;
    std::string description;
};

FailureInfo describe_failure(const std::exception& e);

// The operating system's description of its error `number`, in Spanish whatever the machine's
// language for the failures an operator meets (a missing file, a folder, permissions, a full or
// read-only disk, an input/output error); the system's own text for any other.
std::string system_failure_text(int number);

// The operator's message of a failure: "Se presento el Error # " + number text + `where` (what
// was being done, " al leer archivo de Usuarios ") + two CRs + the description.
std::string failure_message(int number, std::string_view where, std::string_view description);

// Shows the failure message of `e` in a critical box titled "Error", with a hint of Corvela's own
// beside it when one is given.
void show_failure(Ui& ui, const std::exception& e, std::string_view where,
                  const std::string& hint = "");

}  // namespace corvela
