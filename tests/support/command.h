// Running the built `corvela` command on a test installation.
#pragma once

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "support/installation.h"

namespace corvela::testing {

// Runs `corvela` with `args` on the configuration file `config`, with the fault point `fault`
// when given. Standard output goes to `out`, standard error to `err` or, when empty, to `out`
// too. Its exit status (128 + the signal when it was killed).
inline int run_corvela(const std::filesystem::path& config, const std::string& args,
                       const std::filesystem::path& out, const std::filesystem::path& err = {},
                       const std::string& fault = "") {
    const std::string cmd = (fault.empty() ? "" : "CORVELA_FAULT=" + fault + " ") +
                            std::string(CORVELA_BINARY) + " " + args + " --config '" +
                            config.string() + "' > '" + out.string() + "' " +
                            (err.empty() ? "2>&1" : "2> '" + err.string() + "'");
    const int status = std::system(cmd.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}
inline int run_corvela(const Installation& inst, const std::string& args,
                       const std::filesystem::path& out, const std::filesystem::path& err = {},
                       const std::string& fault = "") {
    return run_corvela(inst.config, args, out, err, fault);
}

// The lines of a text, without their ends.
inline std::vector<std::string> text_lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) out.push_back(line);
    return out;
}

// A command started beside others: `corvela ARGS --config CONFIG`, both outputs into `out`.
struct Started {
    std::filesystem::path config;
    std::string args;
    std::filesystem::path out;
};

// Runs the commands at once, the first with the fault point `fault` when given; their exit
// statuses, in order.
inline std::vector<int> run_together(const std::vector<Started>& runs,
                                     const std::string& fault = "") {
    std::string script;
    for (size_t i = 0; i < runs.size(); ++i)
        script += "( " + std::string(i == 0 && !fault.empty() ? "CORVELA_FAULT=" + fault : "") +
                  " " + CORVELA_BINARY + " " + runs[i].args + " --config '" +
                  runs[i].config.string() + "' > '" + runs[i].out.string() + "' 2>&1; echo $? > '" +
                  runs[i].out.string() + ".rc' ) & ";
    std::system((script + "wait").c_str());
    std::vector<int> statuses;
    for (const auto& r : runs) statuses.push_back(std::stoi(read_file(r.out.string() + ".rc")));
    return statuses;
}

}  // namespace corvela::testing
