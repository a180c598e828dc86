#include "validators/consultations.h"

#include "platform/text.h"
#include "rules/documents.h"
#include "rules/error_recording.h"
#include "rules/field_checks.h"
#include "rules/service_checks.h"
#include "validators/service_fields.h"

namespace corvela {

const TypeSpec& ConsultationsValidator::type_spec() const {
    static const TypeSpec s{.marks_length = 17};
    return s;
}

namespace {
// A one-character code written without its leading zero gets it.
void dos_digitos(std::string& value) {
    if (char_length(value) != 2) value = "0" + value;
}
}  // namespace

void ConsultationsValidator::check_fields(RunContext& run, FileContext& fc) {
    if (!check_service_header(run, fc, ": Sin numero de factura", false)) return;

    check_date_field(run, fc, 5);

    fails_length(run, fc, 6);

    if (!fails_length(run, fc, 7) && !fails_empty(fc, 7))
        check_procedure(run, fc, 7, run.data_file_name, fc.field(7), fc.field(3), fc.field(4));

    if (!fails_length(run, fc, 8) && !fails_empty(fc, 8)) {
        dos_digitos(fc.field_ref(8));
        check_consultation_purpose(run, fc, fc.field(8), 8);
    }
    if (!fails_length(run, fc, 9) && !fails_empty(fc, 9)) {
        dos_digitos(fc.field_ref(9));
        check_external_cause(run, fc, fc.field(9), 9);
    }
    if (!fails_length(run, fc, 10) && !fails_empty(fc, 10)) {
        pad_diagnosis_code(fc.field_ref(10));
        check_diagnosis(run, fc, fc.field(10), 10);
        if (!run.slots.diagnosis_message.empty()) {
            plain_join(fc, run.slots.diagnosis_message, MessageSlot::Diagnosis);
            count_error(fc, field_counter(10));
        }
    }
    for (int k = 11; k <= 13; ++k) fails_length(run, fc, k);
    if (!fails_length(run, fc, 14)) fails_empty(fc, 14);
    for (int k = 15; k <= 16; ++k)
        if (!fails_length(run, fc, k) && fc.field(k).empty()) fc.field_ref(k) = "0";
    if (fc.field(17).empty()) fc.field_ref(17) = "0";

    static constexpr IdCardRule kCedula{.two_characters =
                                            "Número de identificación no es numerico"};
    non_numeric_id_card(fc, kCedula);
    // A failed consultation date leaves the record without its user's data.
    if (fc.marks.size() >= 5 && fc.marks[4] == '0') relate_user(run, fc, fc.field(3), fc.field(4));
    check_diagnosis_sex(run, fc, 10);
    append_user_messages(run, fc);
}

}  // namespace corvela
