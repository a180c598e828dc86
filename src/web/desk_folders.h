// Where the web service keeps what belongs to one desk, under the results root, so that two desks
// validating the same IPS never overwrite each other's files:
//   puestos/<desk>/entradas/<time>/   the deliveries uploaded
//   puestos/<desk>/Validacion/        the error, accepted-lines and workbook files of its runs
//   puestos/<desk>/informes/          report pages and workbooks made for downloading
//   puestos/<desk>/corvela.lock       the desk's lock, beside the desk's lock on the server
// The desktop program and the command line keep RESULTS_ROOT/Validacion/ and the installation's
// lock.
#pragma once

#include <filesystem>
#include <string>

#include "platform/config.h"

namespace corvela::web {

struct DeskFolders {
    std::filesystem::path root;  // RESULTS_ROOT/puestos/<desk>

    std::filesystem::path uploads() const { return root / "entradas"; }
    std::filesystem::path results() const { return root / "Validacion"; }
    std::filesystem::path reports() const { return root / "informes"; }
};

DeskFolders desk_folders(const Configuration& config, const std::string& desk);

// The configuration a desk's operations run with: the desk named, its folder as the results root.
Configuration desk_configuration(const Configuration& config, const std::string& desk);

// The lock file of a desk's operations: on a server the desk's own; on the embedded engine, whose
// one desk's tables are the installation's, the installation's lock, which the desktop program
// and the command line take too.
std::filesystem::path desk_lock_file(const Configuration& config, const std::string& desk);

// True when `id` can name an uploaded delivery or a result file: a plain name, no path parts.
bool is_plain_file_name(const std::string& name);

}  // namespace corvela::web
