// A row to store: its values in the order of the table's columns, each bound by its position.
// A value owns its text, so a row can be kept, moved or handed over after it was filled; a row
// filled again reuses the texts' buffers.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace corvela {

struct Value {
    enum class Kind : unsigned char { Null, Text, Number };
    Kind kind = Kind::Null;
    std::string text;
    double number = 0;

    void set_null() { kind = Kind::Null; }
    void set_text(std::string_view value) {
        kind = Kind::Text;
        text.assign(value);
    }
    // A negative zero is stored as zero, as every engine keeps it.
    void set_number(double value) {
        kind = Kind::Number;
        number = value + 0.0;
    }
};

using Row = std::vector<Value>;

}  // namespace corvela
