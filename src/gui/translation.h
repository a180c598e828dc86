// Qt's own texts in Spanish, like the rest of the program: the standard buttons of the boxes
// ("Sí", "No", "Aceptar", "Cancelar"), the context menus of the text boxes. Qt ships them as a
// translation file; where that file is missing, the boxes name their standard buttons themselves.
#pragma once

class QCoreApplication;
class QDialogButtonBox;
class QInputDialog;
class QMessageBox;
class QTranslator;

namespace corvela::gui {

// Loads Qt's Spanish translation from Qt's translations folder into the application. The
// translator (owned by the application), or null when the file is missing or unreadable.
QTranslator* install_qt_spanish(QCoreApplication& app);

// True when the translation in effect names the standard buttons in Spanish.
bool standard_buttons_translated();

// Where the translation is not in effect, sets the Spanish texts on the standard buttons a box has.
void spanish_buttons(QMessageBox& box);
void spanish_buttons(QDialogButtonBox& buttons);
void spanish_buttons(QInputDialog& dialog);

}  // namespace corvela::gui
