// Event handlers of the windows never let a failure escape into the event loop: a failure the
// core did not show itself is shown as a message box titled "Error".
#pragma once

#include <exception>
#include <type_traits>

#include "platform/result.h"
#include "platform/ui.h"

namespace corvela::gui {

template <class Handler>
void guarded(Ui& ui, Handler&& handler) {
    try {
        if constexpr (std::is_same_v<std::invoke_result_t<Handler>, Status>) {
            // An operation's boxes have told the operator how it ended, and the window goes on
            // whatever the ending: what a stop carries besides is the command line's hint.
            [[maybe_unused]] const Status ended = handler();
        } else {
            handler();
        }
    } catch (const std::exception& e) {
        ui.message(e.what(), "Error", Icon::Critical);
    }
}

}  // namespace corvela::gui
