#include "gui/command_line.h"

#include <cstdio>
#include <string>
#include <string_view>

#include "platform/config.h"

namespace corvela::gui {

namespace {
std::string help_text() {
    return std::string(
               "Corvela: validador de archivos planos RIPS (Resolución 3374 de 2000), programa "
               "de escritorio\n\n"
               "Uso: corvela-gui [OPCIONES]\n\n"
               "Opciones:\n"
               "  -h, --help          Muestra esta ayuda y termina\n"
               "  -v, --version       Muestra la versión del programa y termina\n"
               "  --config ARCHIVO    ") +
           kConfigOptionHelp + "\n";
}
}  // namespace

std::optional<int> answer_help_or_version(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view word = argv[i];
        if (word == "--config")
            ++i;  // its value is a file name, whatever it reads
        else if (word == "-h" || word == "--help") {
            std::fputs(help_text().c_str(), stdout);
            return 0;
        } else if (word == "-v" || word == "--version") {
            std::printf("corvela-gui %s\n", CORVELA_VERSION);
            return 0;
        }
    }
    return std::nullopt;
}

}  // namespace corvela::gui
