// Where corvela-web finds the operator's pages (HTML, CSS, JavaScript): installed beside the
// program (bin/../share/corvela/web), else, for a build run from its tree, the tree's own copy.
#pragma once

#include <filesystem>

namespace corvela::web {

// The folder of the pages; empty when there is none.
std::filesystem::path default_page_folder(const char* argv0);

}  // namespace corvela::web
