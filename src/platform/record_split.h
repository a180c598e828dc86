// The split of a record line: fields separated by commas, no quoting, no escape, each field
// trimmed of blanks. Two adjacent commas give an empty field; a trailing comma adds none.
#pragma once

#include <string_view>

#include "platform/text.h"

namespace corvela {

// Calls keep(n, value) for the n-th field (1-based), trimmed; returns the number of fields.
template <typename Keep>
int split_record(std::string_view rest, Keep&& keep) {
    int index = 0;
    while (!rest.empty()) {
        size_t comma = rest.find(',');
        std::string_view value = comma == std::string_view::npos ? rest : rest.substr(0, comma);
        keep(++index, trim(value));
        if (comma == std::string_view::npos) break;
        rest.remove_prefix(comma + 1);
    }
    return index;
}

}  // namespace corvela
