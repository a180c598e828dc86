#include "validators/grouped_services.h"

#include "platform/text.h"
#include "rules/error_recording.h"
#include "rules/field_checks.h"

namespace corvela {

const TypeSpec& GroupedServicesValidator::type_spec() const {
    static const TypeSpec s{.marks_length = 15, .fewer_fields_allowed = true};
    return s;
}

void GroupedServicesValidator::check_fields(RunContext& run, FileContext& fc) {
    if (!fails_length(run, fc, 1)) fails_empty(fc, 1);
    if (!fails_length(run, fc, 2) && !fails_empty(fc, 2)) fails_ips_code(run, fc, 2);
    if (!fails_length(run, fc, 3) && !fails_empty(fc, 3))
        check_service_concept(run, fc, to_upper(fc.field(3)), 3);
    if (!fails_length(run, fc, 4) && !is_numeric(fc.field(4)))
        field_error(fc, 4, ": No es es numerico");
    if (!fails_length(run, fc, 5) && !fc.field(5).empty() && !is_numeric(fc.field(5)))
        field_error(fc, 5, kEmptyField);
    if (!fails_length(run, fc, 6) && !is_numeric(fc.field(6)))
        field_error(fc, 6, ": No es es numerico");
}

void GroupedServicesValidator::adjust_row(const RunContext&, const FileContext& fc,
                                          Row& row) const {
    if (fc.field(5).empty()) row[4].set_number(0);  // the column of field 5
}

}  // namespace corvela
