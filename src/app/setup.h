// Setting up an installation: the two databases with their tables and shipped reference rows,
// the configuration file and the habilitated sites.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "db/database.h"
#include "platform/clock.h"
#include "platform/result.h"

namespace corvela {

// Creates registros_ips.db and Ref_rips.db in `db_folder` with the rows of `reference_folder`
// (their loads recorded at the clock's time), or, given a server, the same tables on the server
// (the folder then holds the installation's lock and reports); writes the configuration file when
// none exists. Refuses to overwrite a database or a server's installation; given a desk, adds that
// desk to a server that holds an installation (refusing a desk that exists). Done with the text
// that tells what was made.
Result<std::string> init_installation(const std::filesystem::path& db_folder,
                                      const std::string& results_root,
                                      const std::filesystem::path& reference_folder,
                                      const std::filesystem::path& config_path, const Clock& clock,
                                      const std::string& server = "", const std::string& desk = "");

// The folder of the shipped reference rows.
std::filesystem::path default_reference_folder(const char* argv0);

struct Site {
    std::string habilitacion, nombre, gerente, DIRECCION, fax, TELEFONO;
};

// Adds one site, or fails saying why not.
Status add_site(Database& work, const Site& site);
// Loads a CSV of sites in one transaction, or fails naming the bad line.
Status import_sites(Database& work, const std::filesystem::path& csv);
std::vector<Site> list_sites(Database& work);

}  // namespace corvela
