#include "web/retention.h"

#include <chrono>

#include "platform/operation_lock.h"
#include "web/desk_folders.h"

namespace corvela::web {

namespace {
namespace fs = std::filesystem;

// Removes what `folder` holds that was last changed before `cutoff`.
int remove_older(const fs::path& folder, fs::file_time_type cutoff) {
    int removed = 0;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        std::error_code entry_ec;
        const auto changed = fs::last_write_time(entry.path(), entry_ec);
        if (entry_ec || changed >= cutoff) continue;
        if (fs::remove_all(entry.path(), entry_ec) > 0 && !entry_ec) ++removed;
    }
    return removed;
}
}  // namespace

int sweep_old_files(const Configuration& config) {
    const auto cutoff =
        fs::file_time_type::clock::now() - std::chrono::hours(24) * config.web.retention_days;
    int removed = 0;
    std::error_code ec;
    for (const auto& desk : fs::directory_iterator(fs::path(config.results_root) / "puestos", ec)) {
        if (!desk.is_directory() || desk.is_symlink()) continue;
        const std::string name = desk.path().filename().string();
        if (!is_desk_name(name)) continue;
        const OperationLock lock(desk_lock_file(config, name));
        if (!lock.held()) continue;
        const DeskFolders folders = desk_folders(config, name);
        for (const auto& folder : {folders.uploads(), folders.results(), folders.reports()})
            removed += remove_older(folder, cutoff);
    }
    return removed;
}

}  // namespace corvela::web
