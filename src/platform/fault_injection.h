// A switch for tests of what survives a crash: when the environment variable CORVELA_FAULT
// names a point that the program passes, the process is killed there at once, with no chance
// to clean up, as a power cut or a killed task would leave it.
#pragma once

namespace corvela {

void fault_point(const char* name);

}  // namespace corvela
