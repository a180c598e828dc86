#include "validators/record_row.h"

#include "platform/text.h"

namespace corvela {

void set_date(Value& value, std::string_view text) {
    if (auto d = parse_date(trim(text)))
        value.set_text(iso_date(*d));
    else
        value.set_null();
}

}  // namespace corvela
