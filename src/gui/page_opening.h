// Opening a page the report window wrote with the workstation's default program, and what the
// operator is told when that fails: the page is there all the same, so the window says where.
#pragma once

#include <functional>
#include <string>

namespace corvela::gui {

struct PageOpening {
    bool opened = false;
    // What the desktop reported while trying (Qt's own warning), empty when it reported nothing.
    std::string reason;
};

// Calls `opener` for `path`, keeping the warnings Qt gives meanwhile as the reason of a failure.
PageOpening open_page(const std::function<bool(const std::string&)>& opener,
                      const std::string& path);

// "La página se guardó en " + the full path + "." and, when the reason is known, CR + the reason.
std::string page_saved_text(const std::string& path, const std::string& reason);

}  // namespace corvela::gui
