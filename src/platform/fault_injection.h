// A switch for tests of what survives a crash or a full disk: when the environment variable
// CORVELA_FAULT names a point that the program passes, the process is killed there at once, with
// no chance to clean up, as a power cut or a killed task would leave it; a point that stands for a
// failure instead asks `fault_armed` and fails there as the failure would.
#pragma once

namespace corvela {

void fault_point(const char* name);

// True when CORVELA_FAULT names `name`.
bool fault_armed(const char* name);

}  // namespace corvela
