#include "web/upload_names.h"

#include <array>
#include <vector>

#include "db/file_types.h"
#include "platform/text.h"

namespace corvela::web {

namespace {
bool is_control(char c) {
    return static_cast<unsigned char>(c) < 0x20 || c == 0x7f;
}

bool is_separator(char c) {
    return c == '/' || c == '\\';
}

// The parts of a name between its separators, "/" and "\" alike.
std::vector<std::string_view> name_parts(std::string_view name) {
    std::vector<std::string_view> parts;
    size_t start = 0;
    for (size_t i = 0; i <= name.size(); ++i)
        if (i == name.size() || is_separator(name[i])) {
            parts.push_back(name.substr(start, i - start));
            start = i + 1;
        }
    return parts;
}

// Windows' device names, which name no file there whatever their extension.
bool is_device_name(std::string_view name) {
    const std::string stem = to_upper(name.substr(0, name.find('.')));
    static const std::array<const char*, 4> plain = {"CON", "PRN", "AUX", "NUL"};
    for (const char* device : plain)
        if (stem == device) return true;
    return stem.size() == 4 && (stem.starts_with("COM") || stem.starts_with("LPT")) &&
           stem[3] >= '1' && stem[3] <= '9';
}

bool is_delivery_kind(std::string_view name) {
    if (name.size() < 6 || !to_upper(name.substr(name.size() - 4)).ends_with(".TXT")) return false;
    const std::string code = to_upper(name.substr(0, 2));
    return code == "CT" || find_file_type(code) != nullptr;
}

std::string refusal(std::string_view given, const std::string& why) {
    return "El archivo " + quoted_name(given) + " no se acepta: " + why;
}
}  // namespace

std::string quoted_name(std::string_view name) {
    std::string shown;
    for (char c : name) shown += is_control(c) ? '?' : c;
    return "«" + shown + "»";
}

std::string plain_name_fault(std::string_view name) {
    if (name.empty()) return "no trae nombre.";
    if (name == "." || name == "..") return "sube o apunta a una carpeta.";
    if (name.size() > 255) return "su nombre es demasiado largo.";
    for (char c : name)
        if (is_control(c) || std::string_view(":*?\"<>|").find(c) != std::string_view::npos)
            return "su nombre lleva caracteres que un nombre de archivo no admite.";
    if (is_device_name(name)) return "es el nombre de un dispositivo, no de un archivo.";
    if (!is_delivery_kind(name))
        return "no es un archivo de una entrega RIPS (CT, US, AF, AC, AP, AU, AH, AN, AM, AT o AD "
               "seguido de la remisión, terminado en .txt).";
    return {};
}

bool UploadNames::same_folder(std::string_view folder) {
    if (!folder_) folder_ = std::string(folder);
    return *folder_ == folder;
}

std::optional<std::string> UploadNames::admit(std::string_view given, std::string& why) {
    const auto parts = name_parts(given);
    const bool absolute =
        (!given.empty() && is_separator(given.front())) || (given.size() >= 2 && given[1] == ':');
    if (absolute) {
        why = refusal(given, "es una ruta absoluta; la entrega lleva solo nombres de archivo.");
        return std::nullopt;
    }
    for (std::string_view part : parts)
        if (part == "..") {
            why = refusal(given, "sube de carpeta (..); la entrega lleva solo nombres de archivo.");
            return std::nullopt;
        }
    const bool in_folder = parts.size() == 2 && !parts[0].empty() && parts[0] != ".";
    if (parts.size() > 2 || (parts.size() == 2 && !in_folder)) {
        why = refusal(given, "lleva carpetas; la entrega lleva solo los archivos de una carpeta.");
        return std::nullopt;
    }
    if (!same_folder(in_folder ? parts[0] : std::string_view())) {
        why = refusal(given, "está en otra carpeta que los demás archivos de la entrega.");
        return std::nullopt;
    }
    const std::string_view plain = parts.back();
    if (std::string fault = plain_name_fault(plain); !fault.empty()) {
        why = refusal(given, fault);
        return std::nullopt;
    }
    if (names_.count(to_upper(plain))) {
        why = refusal(given, "está dos veces en la entrega.");
        return std::nullopt;
    }
    if (names_.size() >= kMostUploadFiles) {
        why = refusal(given, "la entrega trae más de " + std::to_string(kMostUploadFiles) +
                                 " archivos (el de control y los diez que puede nombrar).");
        return std::nullopt;
    }
    names_.insert(to_upper(plain));
    return std::string(plain);
}

bool UploadNames::admit_folder(std::string_view given, std::string& why) {
    std::string_view folder = given;
    while (!folder.empty() && is_separator(folder.back())) folder.remove_suffix(1);
    const auto parts = name_parts(folder);
    if (parts.size() == 1 && !folder.empty() && folder != "." && folder != ".." &&
        !(given.size() >= 2 && given[1] == ':') && same_folder(folder))
        return true;
    why = refusal(given, "lleva carpetas; la entrega lleva solo los archivos de una carpeta.");
    return false;
}

}  // namespace corvela::web
