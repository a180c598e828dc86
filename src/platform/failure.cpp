#include "platform/failure.h"

#include <SQLiteCpp/Exception.h>

#include <system_error>

namespace corvela {

FailureInfo describe_failure(const std::exception& e) {
    if (auto* s = dynamic_cast<const SQLite::Exception*>(&e)) return {s->getErrorCode(), s->what()};
    if (auto* s = dynamic_cast<const std::system_error*>(&e))
        return {s->code().value(), s->code().message()};
    if (auto* s = dynamic_cast<const NumberedFailure*>(&e)) return {s->number, s->what()};
    return {0, e.what()};
}

}  // namespace corvela
