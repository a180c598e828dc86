// The parser's own texts in Spanish, for `corvela` and `corvela-web`: the help pages (headings,
// value kinds, the help and version flags, `--config` on every command) and its failure messages,
// which name an unknown command and list the commands. Set up around the registration of the
// commands, so that a command or option registered later gets the same texts without code of its
// own.
#pragma once

#include <CLI/CLI.hpp>
#include <string>

namespace corvela {

// Before the commands are registered: the program's name ("corvela", "corvela-web") and version,
// the help and version flags, the groups' names, the formatter of the help pages and the failure
// messages (all inherited by the commands registered after).
void prepare_parser(CLI::App& app, const std::string& program, const std::string& version);

// After the commands are registered: `--config FILE`, bound to `config`, on the program and on
// every command, so that each help page lists it.
void finish_parser(CLI::App& app, std::string& config);

}  // namespace corvela
