#include "validators/record_row.h"

#include "platform/text.h"
#include "validators/frame.h"

namespace corvela {

void set_date(Value& value, std::string_view text) {
    if (auto d = parse_date(trim(text)))
        value.set_text(iso_date(*d));
    else
        value.set_null();
}

const TypeSpec& RecordValidator::type_spec() const {
    static const TypeSpec defaults;
    return defaults;
}

void RecordValidator::store(RunContext& run, FileContext& fc, RowSink& rows) {
    const std::span<const Column> columns = file_.columns;
    Row& row = rows.next();
    row.resize(columns.size());
    for (size_t i = 0; i < columns.size(); ++i) {
        const std::string& field = fc.field(static_cast<int>(i) + 1);
        Value& value = row[i];
        switch (columns[i].binding) {
            case Binding::Text:
                value.set_text(field);
                break;
            case Binding::TextOrNull:
                if (field.empty())
                    value.set_null();
                else
                    value.set_text(field);
                break;
            case Binding::Number:
                value.set_number(leading_number_value(field));
                break;
            case Binding::Date:
                set_date(value, field);
                break;
            case Binding::Radicacion:
                value.set_number(run.radicacion);
                break;
            case Binding::Validator:
                value.set_null();
                break;
        }
    }
    adjust_row(run, fc, row);
    rows.add();
}

}  // namespace corvela
