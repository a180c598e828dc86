#include "validators/emergencies.h"

#include "platform/text.h"
#include "rules/documents.h"
#include "rules/error_recording.h"
#include "rules/field_checks.h"
#include "rules/service_checks.h"
#include "validators/service_fields.h"

namespace corvela {

const TypeSpec& EmergenciesValidator::type_spec() const {
    // The emergencies file writes its failing records without a blank before the slash.
    static const TypeSpec s{.record_separator = "/ linea ", .count_separator = "/ linea "};
    return s;
}

namespace {
constexpr std::string_view kHora = ": Formato de hora incorrecto";
constexpr std::string_view kMinutos = ": Formato de minutos incorrecto";

// Normalises diagnosis field k and looks it up; an unknown code is described after `label`
// (" C9 ", " C15 ") and counted under k.
void check_diagnosis_field(RunContext& run, FileContext& fc, int k, std::string_view label) {
    pad_diagnosis_code(fc.field_ref(k));
    check_diagnosis(run, fc, fc.field(k), k);
    if (run.slots.diagnosis_message.empty()) return;
    plain_join(fc, label, MessageSlot::Diagnosis);
    plain_join(fc, run.slots.diagnosis_message, MessageSlot::Diagnosis);
    count_error(fc, field_counter(k));
}
}  // namespace

void EmergenciesValidator::check_fields(RunContext& run, FileContext& fc) {
    if (!check_service_header(run, fc, kEmptyField, true)) return;

    check_date_field(run, fc, 5);

    check_hour_field(run, fc, 6, kHora, kMinutos);
    fails_length(run, fc, 7);

    if (!fails_length(run, fc, 8) && !fails_empty(fc, 8)) {
        if (char_length(fc.field(8)) != 2) prefix_zero(fc.field_ref(8));
        check_external_cause(run, fc, fc.field(8), 8);
    }

    if (!fails_length(run, fc, 9)) {
        fails_empty(fc, 9);
        check_diagnosis_field(run, fc, 9, " C9 ");
    }
    for (int k = 10; k <= 12; ++k) fails_length(run, fc, k);
    if (!fails_length(run, fc, 13)) fails_empty(fc, 13);

    if (!fails_length(run, fc, 14) && !fails_empty(fc, 14)) {
        double estado = leading_number_value(fc.field(14));
        if (estado < 1 || estado > 2) field_error(fc, 14, kNotAValue);
    }

    if (!fails_length(run, fc, 15) && fc.field(14) == "2") {
        fails_empty(fc, 15);
        check_diagnosis_field(run, fc, 15, " C15 ");
    }

    if (!fails_length(run, fc, 16)) check_date(run, fc, 16);
    check_hour_field(run, fc, 17, kHora, kMinutos);

    if (non_numeric_id_card(fc, {})) fc.several_messages = 1;
    relate_user(run, fc, fc.field(3), fc.field(4));
    check_diagnosis_sex(run, fc, 9);
    append_user_messages(run, fc);
}

}  // namespace corvela
