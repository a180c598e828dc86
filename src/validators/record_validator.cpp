#include "validators/record_validator.h"

#include "db/database.h"
#include "platform/text.h"
#include "validators/record_row.h"

namespace corvela {

namespace {
// An engine that cannot store NUL in a text (a server) ends the line's file at a row holding one,
// naming the field, the line and the file, rather than store the text cut.
void refuse_nul(const RunContext& run, const FileContext& fc, const Row& row) {
    const size_t value = value_with_nul(row);
    if (value == row.size()) return;
    // Value i of a row is field i + 1 of its line.
    throw nul_failure("el campo " + std::to_string(value + 1) + " de la línea " +
                      std::to_string(fc.lines_read) + " del archivo " + run.data_file_name);
}
}  // namespace

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
                value.set_number(run.delivery.radicacion);
                break;
            case Binding::Validator:
                value.set_null();
                break;
        }
    }
    adjust_row(run, fc, row);
    if (!run.work.stores_nul()) refuse_nul(run, fc, row);
    rows.add();
}

}  // namespace corvela
