#include "web/listen_address.h"

#include <charconv>

namespace corvela::web {

namespace {
// A whole number of `low` to `high` spelled out in full, or none.
std::optional<int> whole_number(std::string_view text, int low, int high) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < low ||
        value > high)
        return std::nullopt;
    return value;
}
}  // namespace

std::optional<ListenAddress> parse_listen_address(std::string_view text) {
    const size_t colon = text.rfind(':');
    if (colon == std::string_view::npos || colon == 0) return std::nullopt;
    std::string_view host = text.substr(0, colon);
    if (host.front() == '[') {
        if (host.size() < 3 || host.back() != ']') return std::nullopt;
        host = host.substr(1, host.size() - 2);
    } else if (host.find(':') != std::string_view::npos) {
        return std::nullopt;  // an IPv6 address goes between brackets
    }
    const auto port = whole_number(text.substr(colon + 1), 0, 65535);
    if (!port) return std::nullopt;
    return ListenAddress{std::string(host), *port};
}

bool is_loopback(const std::string& host) {
    if (host == "localhost" || host == "::1" || host == "0:0:0:0:0:0:0:1") return true;
    // Four decimal parts of 0 to 255, the first 127.
    std::string_view rest = host;
    for (int part = 0; part < 4; ++part) {
        const size_t dot = part < 3 ? rest.find('.') : rest.size();
        if (dot == std::string_view::npos) return false;
        const auto value = whole_number(rest.substr(0, dot), 0, 255);
        if (!value || (part == 0 && *value != 127)) return false;
        rest = part < 3 ? rest.substr(dot + 1) : std::string_view();
    }
    return true;
}

std::string listening_fault(const ListenAddress& address, bool tls, bool proxy_tls) {
    if (tls || proxy_tls || is_loopback(address.host)) return {};
    return "Sin TLS el servicio solo escucha en la dirección local de la máquina (127.0.0.1 o "
           "[::1]), no en " +
           address.host +
           ". Dé el certificado y la clave con --tls-cert y --tls-key, o, detrás de un proxy "
           "que termina TLS, escriba web_proxy_tls=si en la configuración.";
}

}  // namespace corvela::web
