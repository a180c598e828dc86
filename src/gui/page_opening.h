// What the operator is told when a page the report window wrote could not be opened with the
// workstation's default program: the page is there all the same, so the window says where, and
// why it did not open (the desktop refuses only when it finds no program for web pages).
#pragma once

#include <string>

namespace corvela::gui {

inline constexpr const char* kNoBrowserText =
    "No hay un programa para abrir páginas web en este equipo.";

// "La página se guardó en " + the full path + "." + CR + the reason.
std::string page_saved_text(const std::string& path);

}  // namespace corvela::gui
