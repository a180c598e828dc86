#include "web/desk_folders.h"

#include "app/program.h"

namespace corvela::web {

DeskFolders desk_folders(const Configuration& config, const std::string& desk) {
    return {std::filesystem::path(config.results_root) / "puestos" / desk};
}

Configuration desk_configuration(const Configuration& config, const std::string& desk) {
    Configuration c = config;
    c.desk = desk;
    c.results_root = desk_folders(config, desk).root.string();
    return c;
}

std::filesystem::path desk_lock_file(const Configuration& config, const std::string& desk) {
    if (config.server.empty()) return installation_lock_file(config);
    return desk_folders(config, desk).root / "corvela.lock";
}

bool is_plain_file_name(const std::string& name) {
    return !name.empty() && name != "." && name != ".." && name.size() <= 255 &&
           name.find_first_of("/\\:") == std::string::npos && name.find('\0') == std::string::npos;
}

}  // namespace corvela::web
