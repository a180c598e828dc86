#include "platform/config.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>

#include "platform/failure.h"
#include "platform/text.h"

namespace corvela {

std::filesystem::path configuration_path(const std::string& given) {
    if (!given.empty()) return given;
    if (const char* env = std::getenv("RIPSIPS_INI"); env && *env) return env;
#ifdef _WIN32
    return "c:\\ripsips.ini";
#else
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg)
        return std::filesystem::path(xdg) / "corvela" / "ripsips.ini";
    const char* home = std::getenv("HOME");
    return std::filesystem::path(home ? home : ".") / ".config" / "corvela" / "ripsips.ini";
#endif
}

namespace {
// A whole number of `low` to `high`, written in digits alone; 0 when the text is no such number.
int whole_number(std::string_view text, int low, int high) {
    if (text.empty() || text.size() > 9) return 0;
    int number = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return 0;
        number = number * 10 + (c - '0');
    }
    return number >= low && number <= high ? number : 0;
}

// A wait in whole seconds, from 1 to a day; 0 when the text is no such number.
int wait_seconds(std::string_view text) {
    return whole_number(text, 1, 86400);
}

// A setting of the web service (`name` in capitals): empty when it is fine or not the service's,
// else why its value is not valid.
std::string read_web_setting(const std::string& name, const std::string& value, WebSettings& web) {
    if (name == "WEB_PROXY_TLS") {
        const std::string answer = to_upper(value);
        if (answer != "SI" && answer != "SÍ" && answer != "NO") return "se responde si o no.";
        web.proxy_tls = answer != "NO";
        return {};
    }
    struct Number {
        const char* name;
        int low, high;
        int* value;
    };
    for (const Number& n : {Number{"WEB_SUBIDA_MB", 1, 1000000, &web.upload_mb},
                            Number{"WEB_RETENCION_DIAS", 1, 3650, &web.retention_days},
                            Number{"WEB_SESION_MINUTOS", 1, 1440, &web.session_minutes}}) {
        if (name != n.name) continue;
        *n.value = whole_number(value, n.low, n.high);
        if (*n.value == 0)
            return "va un número entero de " + std::to_string(n.low) + " a " +
                   std::to_string(n.high) + ".";
    }
    return {};
}

// The lines after the first: `name=value` settings; other lines are left alone. The message for
// the first setting that is not valid, or empty.
std::string read_settings(std::istream& in, Configuration& cfg) {
    std::string line, bad;
    auto refuse = [&bad](std::string_view text, const std::string& why) {
        if (bad.empty()) bad = "La línea \"" + std::string(text) + "\" no es válida: " + why;
    };
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::string_view text = trim(line);
        size_t equals = text.find('=');
        if (equals == std::string_view::npos) continue;
        std::string name = to_upper(trim(text.substr(0, equals)));
        std::string value(trim(text.substr(equals + 1)));
        if (name == "SERVIDOR") {
            cfg.server = value;
            if (value.empty())
                refuse(text,
                       "le falta la conexión al servidor (quítela para usar las bases de "
                       "datos de la carpeta).");
        }
        if (name == "PUESTO") cfg.desk = value;
        for (auto [key, wait] : {std::pair{"ESPERA_NUMERO", &cfg.number_wait},
                                 std::pair{"ESPERA_INACTIVA", &cfg.idle_wait}}) {
            if (name != key) continue;
            *wait = wait_seconds(value);
            if (*wait == 0) refuse(text, "la espera va en segundos, de 1 a 86400.");
        }
        if (auto why = read_web_setting(name, value, cfg.web); !why.empty()) refuse(text, why);
    }
    return bad;
}
}  // namespace

bool is_desk_name(std::string_view name) {
    if (name.empty() || name.size() > 30) return false;
    for (char c : name)
        if (!((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_')) return false;
    return true;
}

Result<Configuration> read_configuration(const std::filesystem::path& path) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        return Result<Configuration>::failed(system_failure_text(EISDIR), EISDIR);
    }
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        int e = errno ? errno : ENOENT;
        return Result<Configuration>::failed(system_failure_text(e), e);
    }
    if (in.peek() == std::char_traits<char>::eof()) {
        // Reading a line past the end of the file.
        return Result<Configuration>::failed("La entrada pasa del final del archivo", 62);
    }
    std::string line;
    char c;
    while (in.get(c) && c != '\r' && c != '\n') line += c;
    if (line.rfind("\xEF\xBB\xBF", 0) == 0) line.erase(0, 3);
    size_t comma = line.find(',');
    if (comma == std::string::npos) {
        // The text before a missing comma has a length of -1: the runtime refuses the call.
        return Result<Configuration>::failed("Llamada a procedimiento o argumento no válidos", 5);
    }
    Configuration cfg;
    cfg.database_folder = std::string(trim(std::string_view(line).substr(0, comma)));
    cfg.results_root = line.substr(comma + 1);
    if (std::string bad = read_settings(in, cfg); !bad.empty())
        return Result<Configuration>::failed(bad, 5);
    if (!is_desk_name(cfg.desk))
        return Result<Configuration>::failed(
            "El puesto \"" + cfg.desk +
                "\" no es válido: use de 1 a 30 letras minúsculas, cifras o _.",
            5);
    return Result<Configuration>::done(cfg);
}

std::string results_folder(const std::string& results_root) {
#ifdef _WIN32
    return results_root + ":\\Validacion\\";
#else
    return results_root + "/Validacion/";
#endif
}

}  // namespace corvela
