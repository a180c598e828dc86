#include "platform/failure.h"

#include <system_error>

#include "platform/text.h"

namespace corvela {

FailureInfo describe_failure(const std::exception& e) {
    if (auto* s = dynamic_cast<const std::system_error*>(&e))
        return {s->code().value(), s->code().message()};
    if (auto* s = dynamic_cast<const NumberedFailure*>(&e)) return {s->number, s->what()};
    return {0, e.what()};
}

std::string failure_message(int number, std::string_view where, std::string_view description) {
    return "Se presento el Error # " + number_text(number) + std::string(where) + "\r\r" +
           std::string(description);
}

void show_failure(Ui& ui, const std::exception& e, std::string_view where) {
    FailureInfo f = describe_failure(e);
    ui.message(failure_message(f.number, where, f.description), "Error", Icon::Critical);
}

}  // namespace corvela
