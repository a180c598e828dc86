// Corvela's own hints: a line beside a message of the system that names the file or folder
// concerned and the next step. The message keeps its text; the desktop program shows the hint as
// the box's detailed text, the command line on standard error after "corvela: ". A hint of
// several lines is several such lines.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace corvela {

// The configuration file start-up read, and, when it does not exist, how to create it.
std::string configuration_hint(const std::filesystem::path& config_path, bool missing);

// The database folder named by the configuration file when its databases could not be opened,
// and the cause where it shows: a folder without its final separator, a folder that does not
// exist or that does not hold the databases.
std::string database_folder_hint(const std::filesystem::path& config_path,
                                 const std::string& database_folder);

// The results folder where a run could not create its folder or its files.
std::string results_folder_hint(const std::string& results_folder,
                                const std::filesystem::path& config_path);

// The IPS code of a control file that is not among the registered sites, and how to register it.
std::string unregistered_site_hint(const std::string& control_file, const std::string& code);

// Why a run stopped when "Existe Información." was answered Yes on the command line: the last run
// is still to be saved.
std::string unsaved_run_hint();

// What a run notes about the files of its control table, shown beside the box that ends it.
// A control row whose file is not in the delivery folder.
std::string missing_file_note(const std::string& control_file, const std::string& data_file,
                              const std::filesystem::path& folder);
// A data file whose lines read differ from the count its control row declares.
std::string count_note(const std::string& control_file, const std::string& data_file, long read,
                       const std::string& declared);
// A file in UTF-16, which is refused before it is read.
std::string utf16_note(const std::filesystem::path& file);
// The hint of "Falta archivo de Usuario.": the run's notes on its users files, or that the control
// file names none in the folder.
std::string no_users_hint(const std::string& control_file, const std::vector<std::string>& notes);
// Notes joined into one hint, a line each.
std::string joined(const std::vector<std::string>& notes);

// Why the folder of a delivery given on the command line cannot be validated (it does not exist
// or is not a folder); empty when it is a folder.
std::string delivery_folder_fault(const std::filesystem::path& folder);

// The errors workbook a run wrote beside its error files: "Libro de errores: " + its path + ".".
std::string errors_workbook_hint(const std::filesystem::path& workbook);

// What a window whose start-up opened no database says when a button needs one.
inline constexpr const char* kNoConfigurationText =
    "No hay una configuración que Corvela pueda usar: cree una con «corvela init CARPETA» y abra "
    "Corvela de nuevo.";
inline constexpr const char* kNoConfigurationTitle = "Falta la configuración.";

}  // namespace corvela
