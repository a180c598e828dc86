#include "platform/config.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>

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
// A whole number of `low` to `high` for the setting `name`, or the text that says what is wrong.
std::string read_whole_number(const std::string& name, const std::string& value, int low, int high,
                              int& out) {
    const bool digits = !value.empty() && value.size() <= 9 &&
                        value.find_first_not_of("0123456789") == std::string::npos;
    const int number = digits ? std::stoi(value) : 0;
    if (!digits || number < low || number > high)
        return "El valor de " + name + " (\"" + value +
               "\") no es válido: use un número entero de " + std::to_string(low) + " a " +
               std::to_string(high) + ".";
    out = number;
    return {};
}

// A setting of the web service; empty when it is fine or not the service's, else what is wrong.
std::string read_web_setting(const std::string& name, const std::string& value, WebSettings& web) {
    if (name == "WEB_PROXY_TLS") {
        const std::string answer = to_upper(value);
        if (answer != "SI" && answer != "SÍ" && answer != "NO")
            return "El valor de web_proxy_tls (\"" + value + "\") no es válido: use si o no.";
        web.proxy_tls = answer != "NO";
        return {};
    }
    if (name == "WEB_SUBIDA_MB")
        return read_whole_number("web_subida_mb", value, 1, 1000000, web.upload_mb);
    if (name == "WEB_RETENCION_DIAS")
        return read_whole_number("web_retencion_dias", value, 1, 3650, web.retention_days);
    if (name == "WEB_SESION_MINUTOS")
        return read_whole_number("web_sesion_minutos", value, 1, 1440, web.session_minutes);
    return {};
}

// The lines after the first: `name=value` settings; other lines are left alone. The text that
// says what is wrong with a setting, or empty.
std::string read_settings(std::istream& in, Configuration& cfg) {
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::string_view text = trim(line);
        size_t equals = text.find('=');
        if (equals == std::string_view::npos) continue;
        std::string name = to_upper(trim(text.substr(0, equals)));
        std::string value(trim(text.substr(equals + 1)));
        if (name == "SERVIDOR") cfg.server = value;
        if (name == "PUESTO") cfg.desk = value;
        if (auto why = read_web_setting(name, value, cfg.web); !why.empty()) return why;
    }
    return {};
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
        return Result<Configuration>::failed(std::strerror(EISDIR), EISDIR);
    }
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        int e = errno ? errno : ENOENT;
        return Result<Configuration>::failed(std::strerror(e), e);
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
    if (auto why = read_settings(in, cfg); !why.empty())
        return Result<Configuration>::failed(why, 5);
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
