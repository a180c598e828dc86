#include "web/page_folder.h"

#include "platform/program_path.h"

namespace corvela::web {

std::filesystem::path default_page_folder(const char* argv0) {
    std::error_code ec;
    const auto exe = running_program_path(argv0);
    if (!exe.empty()) {
        const auto installed = exe.parent_path().parent_path() / "share/corvela/web";
        if (std::filesystem::is_regular_file(installed / "index.html", ec)) return installed;
    }
#ifdef CORVELA_WEB_PAGES_DIR
    if (std::filesystem::is_regular_file(
            std::filesystem::path(CORVELA_WEB_PAGES_DIR) / "index.html", ec))
        return CORVELA_WEB_PAGES_DIR;
#endif
    return {};
}

}  // namespace corvela::web
