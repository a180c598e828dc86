// The program's own face: the project's icon (packaging/corvela.svg, built into the program) on
// every window and as the main window's logo, and the name of its menu entry (corvela.desktop),
// which the window class and the desktop file name carry, so that the menu entry, a taskbar and
// the windows show one program.
#pragma once

#include <QIcon>

namespace corvela::gui {

// The project's icon, drawn at the sizes a desktop asks for.
QIcon corvela_icon();

// Names the application after its menu entry and gives every window the project's icon. Called
// once the command line was read (`--version` still names corvela-gui).
void identify_program();

}  // namespace corvela::gui
