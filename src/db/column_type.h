// How a column of a table is kept, in the terms of the program rather than of an engine: each
// engine names these types in its own definitions, so one description of a table makes it on
// every engine.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace corvela {

enum class ColumnType {
    Text,       // a text compared without regard to ASCII letter case
    Number,     // a number, whole or not
    Date,       // an ISO date text (YYYY-MM-DD), compared as written
    ExactText,  // a text compared as written (descriptions, the program's own keys and values)
    Integer,    // a whole number
    RowNumber,  // a whole number that keys the row
};

// A column of a table's definition: its name, its type and what else its definition says
// ("PRIMARY KEY", "DEFAULT ''"), or nothing.
struct ColumnDefinition {
    std::string name;
    ColumnType type;
    std::string_view constraint = {};
};

using TableColumns = std::vector<ColumnDefinition>;

}  // namespace corvela
