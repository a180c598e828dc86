// The desktop program's command line. `--help` and `--version` are answered before the application
// object is made, so that they need no display (the manual page is made from them at build time);
// `--config FILE` is read afterwards by Qt's parser, which also takes Qt's own options.
#pragma once

#include <optional>

namespace corvela::gui {

// When the command line asks for the help or the version: prints it and gives the exit status.
std::optional<int> answer_help_or_version(int argc, char** argv);

}  // namespace corvela::gui
