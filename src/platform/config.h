// The configuration file: a first line `DATABASE_FOLDER,RESULTS_ROOT`. The database folder is the
// text before the first comma, trimmed; the results root is the rest, untrimmed. An optional line
// after it, `servidor=CONNECTION`, puts the installation's databases on a PostgreSQL server (a
// libpq connection string or URI; the password comes from libpq's own means, never from this
// file); the database folder then still holds the installation's lock and the reports. On a
// server, a line `puesto=NAME` (1 to 30 of a-z, 0-9 and _) names the desk; without it the desk is
// `principal`. `espera_numero=SECONDS` bounds a save's wait for the number row (120 by default),
// `espera_inactiva=SECONDS` how long the server keeps a transaction whose desk stopped answering
// (300 by default). The web service (corvela-web) reads its settings from lines of the same kind
// (`web_…=`); the other programs leave them alone.
#pragma once

#include <filesystem>
#include <string>

#include "platform/result.h"

namespace corvela {

// The web service's settings, each with its default.
struct WebSettings {
    bool proxy_tls = false;    // web_proxy_tls=si|no: behind a proxy that ends TLS
    int upload_mb = 500;       // web_subida_mb=: the largest upload
    int retention_days = 7;    // web_retencion_dias=: how long uploads and their results stay
    int session_minutes = 30;  // web_sesion_minutos=: a session's idle expiry
};

struct Configuration {
    std::string database_folder;
    std::string results_root;
    // The server's connection, or empty for the databases of the database folder.
    std::string server;
    std::string desk = "principal";
    int number_wait = 120;
    int idle_wait = 300;
    WebSettings web;
};

// True for a desk name of 1 to 30 characters among a-z, 0-9 and _.
bool is_desk_name(std::string_view name);

// Where the configuration file is looked for: the given path, else RIPSIPS_INI, else the
// platform's place (c:\ripsips.ini on Windows, $XDG_CONFIG_HOME/corvela/ripsips.ini elsewhere).
std::filesystem::path configuration_path(const std::string& given);

// The help text of the `--config FILE` option of both programs: that search, as an operator reads
// it.
inline constexpr const char* kConfigOptionHelp =
    "Archivo de configuración; sin esta opción, el que nombra la variable RIPSIPS_INI, si no "
    "~/.config/corvela/ripsips.ini";

// Reads the first line of the file; a failure carries the number and description that start-up
// shows.
Result<Configuration> read_configuration(const std::filesystem::path& path);

// The results folder of a results root: root + "/Validacion/" (a drive letter + ":\Validacion\"
// on Windows).
std::string results_folder(const std::string& results_root);

}  // namespace corvela
