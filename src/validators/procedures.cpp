#include "validators/procedures.h"

#include "platform/text.h"
#include "rules/documents.h"
#include "rules/error_recording.h"
#include "rules/field_checks.h"
#include "rules/service_checks.h"
#include "validators/service_fields.h"

namespace corvela {

namespace {
// The document number of a procedure is never longer than this, whatever its definition says.
constexpr size_t kLongitudDocumento = 20;
}  // namespace

void ProceduresValidator::check_fields(RunContext& run, FileContext& fc) {
    if (!fails_length(run, fc, 1) && fails_empty(fc, 1)) plain_join(fc, " Sin factura ");
    if (!fails_length(run, fc, 2) && !fails_empty(fc, 2)) fails_ips_code(run, fc, 2);
    fc.field_ref(3) = to_upper(fc.field(3));
    if (!fails_length(run, fc, 3) && !fails_empty(fc, 3))
        check_document_type(run, fc, fc.field(3), 3);
    take_field_definition(run, fc, 4);
    if (char_length(fc.field(4)) > kLongitudDocumento) field_error(fc, 4, kTooLong);

    // The user is looked up with the number as written in the file.
    if (!has_validated_user(run, fc)) return;

    check_date_field(run, fc, 5);
    fails_length(run, fc, 6);
    if (!fails_length(run, fc, 7) && !fails_empty(fc, 7))
        check_procedure(run, fc, 7, run.data_file_name, fc.field(7), fc.field(3), fc.field(4));
    if (!fails_length(run, fc, 8) && !fails_empty(fc, 8)) check_one_to_three(fc, fc.field(8), 8);
    if (!fails_length(run, fc, 9) && !fails_empty(fc, 9)) check_user_type(run, fc, fc.field(9), 9);
    fails_length(run, fc, 10);

    take_field_definition(run, fc, 11);
    if (static_cast<double>(char_length(fc.field(11))) > run.length_in_force) {
        fc.field_ref(11) = left_chars(fc.field(11), 4);
        field_error(fc, 11, kTooLong);
    } else if (!ltrim(fc.field(11)).empty()) {
        check_diagnosis(run, fc, fc.field(11), 11);
    } else {
        // Without a principal diagnosis any user's sex fits.
        run.dx_sex = "A";
    }
    for (int k = 12; k <= 14; ++k) fails_length(run, fc, k);
    if (!fails_length(run, fc, 15) && ltrim(fc.field(15)).empty()) fc.field_ref(15) = "0";

    static constexpr IdCardRule kCedula{.two_characters = "Numero de Identificación desconocida",
                                        .two_characters_counter = Counter::TwoCharacterDocument};
    non_numeric_id_card(fc, kCedula);
    relate_user(run, fc, fc.field(3), fc.field(4));
    check_document(fc, 4);
    if (run.slots.procedure_message.empty()) check_diagnosis_sex(run, fc, 16);
    append_messages(
        run, fc, {MessageSlot::User, MessageSlot::Diagnosis, MessageSlot::Sex, MessageSlot::Age});
}

}  // namespace corvela
