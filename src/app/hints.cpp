#include "app/hints.h"

#include "platform/config.h"

namespace corvela {

std::string configuration_hint(const std::filesystem::path& config_path, bool missing) {
    const std::string path = config_path.string();
    std::string hint = "Archivo de configuración: " + path + ".";
    if (!missing) return hint;
    // `init` writes the file where start-up looks for it; a file named on the command line has
    // to be named to `init` too.
    std::string init = "corvela init CARPETA";
    if (config_path != configuration_path("")) init += " --config " + path;
    return hint + " No existe: créelo con «" + init +
           "», donde CARPETA es la carpeta de las bases de datos.";
}

std::string errors_workbook_hint(const std::filesystem::path& workbook) {
    return "Libro de errores: " + workbook.string() + ".";
}

}  // namespace corvela
