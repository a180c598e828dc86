// Where the running program's own file is, so that an installed copy finds the files installed
// beside it whether it was started by a full path or through PATH.
#pragma once

#include <filesystem>

namespace corvela {

// The running program's file, with links resolved; empty when it cannot be found. Linux tells it
// through /proc/self/exe; elsewhere `argv0` is resolved as the shell did (a name without a
// separator is looked up in PATH).
std::filesystem::path running_program_path(const char* argv0);

}  // namespace corvela
