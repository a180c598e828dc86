#include "platform/program_path.h"

#include <cstdlib>
#include <string_view>

namespace corvela {

namespace {
namespace fs = std::filesystem;

fs::path canonical_or_empty(const fs::path& p) {
    std::error_code ec;
    auto c = fs::canonical(p, ec);
    return ec ? fs::path() : c;
}

// The first entry of PATH holding a regular file of that name.
fs::path search_path(std::string_view name) {
    const char* path = std::getenv("PATH");
    if (!path) return {};
    std::string_view rest(path);
    while (true) {
        auto colon = rest.find(':');
        std::string_view dir = rest.substr(0, colon);
        std::error_code ec;
        auto candidate = fs::path(dir.empty() ? "." : dir) / name;
        if (fs::is_regular_file(candidate, ec)) return canonical_or_empty(candidate);
        if (colon == std::string_view::npos) return {};
        rest.remove_prefix(colon + 1);
    }
}
}  // namespace

fs::path running_program_path(const char* argv0) {
    if (auto self = canonical_or_empty("/proc/self/exe"); !self.empty()) return self;
    std::string_view name = argv0 ? argv0 : "";
    if (name.empty()) return {};
    if (name.find('/') != std::string_view::npos) return canonical_or_empty(fs::path(name));
    return search_path(name);
}

}  // namespace corvela
