// The configuration file: a first line `DATABASE_FOLDER,RESULTS_ROOT`. The database folder is the
// text before the first comma, trimmed; the results root is the rest, untrimmed. An optional line
// after it, `servidor=CONNECTION`, puts the installation's databases on a PostgreSQL server (a
// libpq connection string or URI; the password comes from libpq's own means, never from this
// file); the database folder then still holds the installation's lock and the reports. On a
// server, a line `puesto=NAME` (1 to 30 of a-z, 0-9 and _) names the desk; without it the desk is
// `principal`. `espera_numero=SECONDS` bounds a save's wait for the number row (120 by default),
// `espera_inactiva=SECONDS` how long the server keeps a transaction whose desk stopped answering
// (300 by default).
#pragma once

#include <filesystem>
#include <string>

#include "platform/result.h"

namespace corvela {

struct Configuration {
    std::string database_folder;
    std::string results_root;
    // The server's connection, or empty for the databases of the database folder.
    std::string server;
    std::string desk = "principal";
    int number_wait = 120;
    int idle_wait = 300;
};

// True for a desk name of 1 to 30 characters among a-z, 0-9 and _.
bool is_desk_name(std::string_view name);

// Where the configuration file is looked for: the given path, else RIPSIPS_INI, else the
// platform's place (c:\ripsips.ini on Windows, $XDG_CONFIG_HOME/corvela/ripsips.ini elsewhere).
std::filesystem::path configuration_path(const std::string& given);

// Reads the first line of the file; a failure carries the number and description that start-up
// shows.
Result<Configuration> read_configuration(const std::filesystem::path& path);

// The results folder of a results root: root + "/Validacion/" (a drive letter + ":\Validacion\"
// on Windows).
std::string results_folder(const std::string& results_root);

}  // namespace corvela
