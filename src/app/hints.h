// Corvela's own hints: a line beside a message of the system that names the file or folder
// concerned and the next step. The message keeps its text; the desktop program shows the hint as
// the box's detailed text, the command line on standard error after "corvela: ".
#pragma once

#include <filesystem>
#include <string>

namespace corvela {

// The configuration file start-up read, and, when it does not exist, how to create it.
std::string configuration_hint(const std::filesystem::path& config_path, bool missing);

// The errors workbook a run wrote beside its error files: "Libro de errores: " + its path + ".".
std::string errors_workbook_hint(const std::filesystem::path& workbook);

// What a window whose start-up opened no database says when a button needs one.
inline constexpr const char* kNoConfigurationText =
    "No hay una configuración que Corvela pueda usar: cree una con «corvela init CARPETA» y abra "
    "Corvela de nuevo.";
inline constexpr const char* kNoConfigurationTitle = "Falta la configuración.";

}  // namespace corvela
