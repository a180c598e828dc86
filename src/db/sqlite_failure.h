// The SQLite engine's failures as DatabaseFailure: the result code SQLiteCpp reports and SQLite's
// message.
#pragma once

#include <SQLiteCpp/Exception.h>

#include <utility>

#include "db/failure.h"

namespace corvela::sqlite {

// Runs `call`, turning a SQLiteCpp failure into the program's.
template <typename Call>
decltype(auto) translated(Call&& call) {
    try {
        return std::forward<Call>(call)();
    } catch (const SQLite::Exception& e) {
        throw DatabaseFailure(e.getErrorCode(), e.what());
    }
}

}  // namespace corvela::sqlite
