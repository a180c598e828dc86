// The validator of each file type. A type without a validator calls nothing.
#pragma once

#include <memory>
#include <string>

#include "validators/record_validator.h"

namespace corvela {

// The validator for a file type code (two letters, upper case), or nullptr.
std::unique_ptr<RecordValidator> validator_for(const std::string& type);

}  // namespace corvela
