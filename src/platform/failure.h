// The number and description of a failure as the operator is shown them ("Se presento el
// Error # ..."): the operating system's error number and message for a file, SQLite's result
// code and message for the database, and the runtime's own number for its conversions.
#pragma once

#include <stdexcept>
#include <string>

namespace corvela {

// A failure of the runtime's own routines, carrying the number the runtime gives it.
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

}  // namespace corvela
