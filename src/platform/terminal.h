// Whether standard error is a terminal, so that progress text is shown only to a person.
#pragma once

namespace corvela {
bool stderr_is_terminal();
}
