#include "validators/medications.h"

#include "platform/text.h"
#include "rules/documents.h"
#include "rules/error_recording.h"
#include "rules/field_checks.h"
#include "rules/service_checks.h"
#include "validators/record_row.h"
#include "validators/service_fields.h"

namespace corvela {

namespace {
constexpr std::string_view kTipoMedicamento =
    ": No corresponde a lo definido en el tipo de medicamento";

// A descriptive field that only medication type "2" must fill; an over-long text is cut.
// `cut_above` is the length beyond which it is cut (its maximum length unless given).
void descriptivo(RunContext& run, FileContext& fc, int k, double cut_above = -1) {
    take_field_definition(run, fc, k);
    std::string& v = fc.field_ref(k);
    if (!v.empty()) {
        if (static_cast<double>(char_length(v)) > (cut_above < 0 ? run.length_in_force : cut_above))
            v = left_chars(v,
                           static_cast<size_t>(run.length_in_force > 0 ? run.length_in_force : 0));
    } else if (fc.field(7) == "2") {
        field_error(fc, k, kTipoMedicamento);
    }
}

void numerico(RunContext& run, FileContext& fc, int k) {
    if (!fails_length(run, fc, k) && !is_numeric(fc.field(k)))
        field_error(fc, k, ": Contenido no es numerico");
}
}  // namespace

void MedicationsValidator::check_fields(RunContext& run, FileContext& fc) {
    if (!check_service_header(run, fc, kEmptyField, true)) return;

    fails_length(run, fc, 5);
    fails_length(run, fc, 6);
    if (!fails_length(run, fc, 7)) {
        double tipo = leading_number_value(fc.field(7));
        if (tipo < 1 || tipo > 2) field_error(fc, 7, kNotAValue);
    }

    take_field_definition(run, fc, 8);
    cut_to_length(fc.field_ref(8), run.length_in_force);
    descriptivo(run, fc, 9);
    descriptivo(run, fc, 10);
    // The unit of measure is cut only beyond 20 characters, whatever its maximum length.
    descriptivo(run, fc, 11, 20);

    numerico(run, fc, 12);
    numerico(run, fc, 13);
    numerico(run, fc, 14);

    static constexpr IdCardRule kCedula{
        .alone = "Numero de identificación es tipo cedula y no es numerico"};
    non_numeric_id_card(fc, kCedula);
    relate_user(run, fc, fc.field(3), fc.field(4));
    if (!run.slots.user_message.empty()) comma_join(fc, run.slots.user_message, MessageSlot::User);
}

void MedicationsValidator::adjust_row(const RunContext& run, const FileContext& fc,
                                      Row& row) const {
    for (int k = 8; k <= 11; ++k)
        if (fc.field(k).empty()) row[static_cast<size_t>(k - 1)].set_text(" ");
    // The service date left by the last date check of the run, or by the user relation.
    Value& fecha = row[15];  // the column after the radicación
    if (run.service_date.empty())
        fecha.set_text("");
    else
        set_date(fecha, run.service_date);
}

}  // namespace corvela
