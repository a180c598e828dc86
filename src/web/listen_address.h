// Where the web service listens: `ADDRESS:PORT` (`[IPv6]:PORT` for an IPv6 address; port 0 takes
// any free port), and whether it may listen there. Without TLS it listens on the machine's own
// loopback addresses only, unless the configuration says a TLS-terminating proxy stands in front.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace corvela::web {

struct ListenAddress {
    std::string host;
    int port = 0;
};

std::optional<ListenAddress> parse_listen_address(std::string_view text);
// True for 127.0.0.0/8, ::1 and localhost.
bool is_loopback(const std::string& host);
// Empty when the service may listen on `address`; else why not.
std::string listening_fault(const ListenAddress& address, bool tls, bool proxy_tls);

}  // namespace corvela::web
