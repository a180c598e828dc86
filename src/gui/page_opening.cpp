#include "gui/page_opening.h"

#include <filesystem>

namespace corvela::gui {

std::string page_saved_text(const std::string& path) {
    std::error_code ec;
    const std::filesystem::path full = std::filesystem::absolute(path, ec);
    return "La página se guardó en " + (ec ? path : full.string()) + ".\r" + kNoBrowserText;
}

}  // namespace corvela::gui
