// The terminal: whether standard error is one, so that progress text is shown only to a person,
// and the reading of a secret typed there without showing it.
#pragma once

#include <optional>
#include <string>

namespace corvela {
bool stderr_is_terminal();
bool stdin_is_terminal();
// One line of standard input, its line end removed; empty when the input has ended. When standard
// input is a terminal, `prompt` is shown on standard error and what is typed is not shown.
std::optional<std::string> read_secret_line(const std::string& prompt);
}  // namespace corvela
