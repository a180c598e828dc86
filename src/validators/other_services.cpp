#include "validators/other_services.h"

#include "platform/text.h"
#include "rules/documents.h"
#include "rules/error_recording.h"
#include "rules/field_checks.h"
#include "rules/service_checks.h"
#include "validators/service_fields.h"

namespace corvela {

namespace {
// The total value is cut only past this many characters; the cut keeps its defined length.
constexpr size_t kLimiteValorTotal = 20;
}  // namespace

void OtherServicesValidator::check_fields(RunContext& run, FileContext& fc) {
    if (!check_service_header(run, fc, kEmptyField, true)) return;

    take_field_definition(run, fc, 5);
    if (static_cast<double>(char_length(ltrim(fc.field(5)))) > run.length_in_force)
        field_error(fc, 5, kTooLong);
    fails_length(run, fc, 6);
    fails_length(run, fc, 7);
    // Descriptive and numeric values that are too long are shortened, not rejected.
    for (int k = 8; k <= 10; ++k) {
        take_field_definition(run, fc, k);
        cut_to_length(fc.field_ref(k), run.length_in_force);
    }
    take_field_definition(run, fc, 11);
    if (char_length(fc.field(11)) > kLimiteValorTotal) {
        double keep = run.length_in_force;
        fc.field_ref(11) = left_chars(fc.field(11), keep > 0 ? static_cast<size_t>(keep) : 0);
    }

    non_numeric_id_card(fc, {});
    relate_user(run, fc, fc.field(3), fc.field(4));
    if (!run.slots.user_message.empty()) comma_join(fc, run.slots.user_message, MessageSlot::User);
}

std::string OtherServicesValidator::failure_text(const FileContext& fc) const {
    std::string count = number_text(fc.fields_counted);
    return " C " + count + count + " al leer archivo de " + file().file_word + " ";
}

}  // namespace corvela
