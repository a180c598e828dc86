#include "app/hints.h"

#include "platform/config.h"
#include "platform/text.h"

namespace corvela {

namespace {
// `init` writes the configuration file where start-up looks for it; a file named on the command
// line has to be named to `init` too.
std::string init_command(const std::string& folder, const std::filesystem::path& config_path) {
    std::string init = "corvela init " + folder;
    if (config_path != configuration_path("")) init += " --config " + config_path.string();
    return "«" + init + "»";
}

bool ends_in_separator(const std::string& folder) {
    return !folder.empty() && (folder.back() == '/' || folder.back() == '\\');
}

// "1 registro", "8 registros".
std::string records(long n) {
    return std::to_string(n) + (n == 1 ? " registro" : " registros");
}
}  // namespace

std::string configuration_hint(const std::filesystem::path& config_path, bool missing) {
    std::string hint = "Archivo de configuración: " + config_path.string() + ".";
    if (!missing) return hint;
    return hint + " No existe: créelo con " + init_command("CARPETA", config_path) +
           ", donde CARPETA es la carpeta de las bases de datos.";
}

std::string database_folder_hint(const std::filesystem::path& config_path,
                                 const std::string& database_folder) {
    std::string hint = "Carpeta de las bases de datos: «" + database_folder +
                       "», en la primera línea de " + config_path.string() + ".";
    std::error_code ec;
    // The database names are appended to the folder as written.
    if (std::filesystem::is_directory(database_folder, ec) && !ends_in_separator(database_folder))
        return hint + " Le falta la / final: escriba «" + database_folder + "/».";
    if (!std::filesystem::exists(database_folder, ec))
        return hint + " No existe: cree las bases de datos con " +
               init_command(database_folder, config_path) + ".";
    for (const char* name : {"registros_ips.db", "Ref_rips.db"})
        if (!std::filesystem::exists(database_folder + name, ec))
            return hint + " No tiene las bases de datos de Corvela (" + name + "): créelas con " +
                   init_command(database_folder, config_path) + ".";
    return hint;
}

std::string results_folder_hint(const std::string& results_folder,
                                const std::filesystem::path& config_path) {
    return "No se pudo crear la carpeta de resultados «" + results_folder +
           "» ni archivos en ella: revise la carpeta raíz de los resultados, lo que sigue a la "
           "coma en la primera línea de " +
           config_path.string() + ".";
}

std::string unregistered_site_hint(const std::string& control_file, const std::string& code) {
    if (char_length(code) != 12)
        return "El archivo de control " + control_file + " da el código de IPS «" + code +
               "», que no tiene 12 caracteres: corrija el archivo de control.";
    return "La IPS «" + code + "» del archivo de control " + control_file +
           " no está entre las sedes registradas: regístrela con «corvela sedes add " + code +
           " --nombre NOMBRE» o «corvela sedes import ARCHIVO.csv».";
}

std::string unsaved_run_hint() {
    return "La validación anterior aún no se ha guardado: guárdela con «corvela save» y valide de "
           "nuevo, o valide con --no para descartarla.";
}

std::string missing_file_note(const std::string& control_file, const std::string& data_file,
                              const std::filesystem::path& folder) {
    return "El archivo de control " + control_file + " nombra " + data_file +
           ", que no está en la carpeta " + folder.string() + ": no se validó.";
}

std::string count_note(const std::string& control_file, const std::string& data_file, long read,
                       const std::string& declared) {
    return data_file + ": se " + (read == 1 ? "leyó " : "leyeron ") + records(read) +
           " y el archivo de control " + control_file +
           (declared.empty() ? " no declara cuántos tiene." : " declara " + declared + ".");
}

std::string utf16_note(const std::filesystem::path& file) {
    return file.string() +
           " está en UTF-16, que Corvela no lee: guárdelo como UTF-8 o Windows-1252 (ANSI) y "
           "valide de nuevo.";
}

std::string no_users_hint(const std::string& control_file, const std::vector<std::string>& notes) {
    if (!notes.empty()) return joined(notes);
    return "El archivo de control " + control_file +
           " no nombra ningún archivo de usuarios (US) que esté en la carpeta.";
}

std::string joined(const std::vector<std::string>& notes) {
    std::string hint;
    for (const std::string& note : notes) hint += (hint.empty() ? "" : "\n") + note;
    return hint;
}

std::string delivery_folder_fault(const std::filesystem::path& folder) {
    std::error_code ec;
    if (std::filesystem::is_directory(folder, ec)) return {};
    if (!std::filesystem::exists(folder, ec))
        return "No existe la carpeta de la entrega " + folder.string() + ".";
    return folder.string() + " no es una carpeta: indique la carpeta de la entrega.";
}

std::string errors_workbook_hint(const std::filesystem::path& workbook) {
    return "Libro de errores: " + workbook.string() + ".";
}

}  // namespace corvela
