// The boxes of the desktop program, built but not yet shown: `QtDialogs` runs them, and tests
// read their buttons and their layout without running them. Their standard buttons read in
// Spanish; a message whose text holds tabs is shown with its columns lined up.
#pragma once

#include <QDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <memory>
#include <string>

#include "platform/ui.h"

namespace corvela::gui {

// A message box with its "Aceptar" button: a QMessageBox, with `hint` as its detailed text when
// given, or a `TableBox` for a text with tabs (a summary), with `hint` under its table.
std::unique_ptr<QDialog> message_box(const std::string& text, const std::string& title, Icon icon,
                                     const std::string& hint = {}, QWidget* parent = nullptr);
// A question with "Sí" and "No"; `no_is_default` makes No the button that Enter presses.
std::unique_ptr<QMessageBox> question_box(const std::string& text, const std::string& title,
                                          Icon icon, bool no_is_default, QWidget* parent = nullptr);
// An input box with "Aceptar" and "Cancelar", holding `initial`.
std::unique_ptr<QInputDialog> input_box(const std::string& prompt, const std::string& title,
                                        const std::string& initial, QWidget* parent = nullptr);

}  // namespace corvela::gui
