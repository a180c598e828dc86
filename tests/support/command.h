// Running the built `corvela` command on a test installation.
#pragma once

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/installation.h"

namespace corvela::testing {

// Runs `corvela` with `args` on the installation's configuration, with the fault point `fault`
// when given. Standard output goes to `out`, standard error to `err` or, when empty, to `out`
// too. Its exit status (128 + the signal when it was killed).
inline int run_corvela(const Installation& inst, const std::string& args,
                       const std::filesystem::path& out, const std::filesystem::path& err = {},
                       const std::string& fault = "") {
    const std::string cmd = (fault.empty() ? "" : "CORVELA_FAULT=" + fault + " ") +
                            std::string(CORVELA_BINARY) + " " + args + " --config '" +
                            inst.config.string() + "' > '" + out.string() + "' " +
                            (err.empty() ? "2>&1" : "2> '" + err.string() + "'");
    const int status = std::system(cmd.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

}  // namespace corvela::testing
