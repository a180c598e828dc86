// The retention of the desks' files: uploads, result files and report files older than
// `web_retencion_dias` are removed from every desk's folder (and staging folders an upload cut
// short left behind). A desk whose lock is held, a run or another operation under way, is left
// for the next sweep, so that nothing a run reads or writes goes from under it.
#pragma once

#include <filesystem>

#include "platform/config.h"

namespace corvela::web {

// One sweep over every desk's folder; the number of files and folders removed.
int sweep_old_files(const Configuration& config);

}  // namespace corvela::web
