// Event handlers of the windows never let a failure escape into the event loop: a failure the
// core did not show itself is shown as a message box titled "Error".
#pragma once

#include <exception>

#include "platform/ui.h"

namespace corvela::gui {

template <class Handler>
void guarded(Ui& ui, Handler&& handler) {
    try {
        handler();
    } catch (const std::exception& e) {
        ui.message(e.what(), "Error", Icon::Critical);
    }
}

}  // namespace corvela::gui
