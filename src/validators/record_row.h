// The values of the row of a passing line. `RecordValidator::store` binds every column of the
// line's file type as the type says; a validator's `adjust_row` sets values with these.
#pragma once

#include <string_view>

#include "db/row.h"

namespace corvela {

// A date column's value: a dd/mm/yyyy text as ISO text, null when it is no date.
void set_date(Value& value, std::string_view text);

}  // namespace corvela
