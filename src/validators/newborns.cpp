#include "validators/newborns.h"

#include "platform/text.h"
#include "rules/documents.h"
#include "rules/error_recording.h"
#include "rules/field_checks.h"
#include "rules/service_checks.h"
#include "validators/service_fields.h"

namespace corvela {

namespace {
// The newborn's diagnosis, looked up with field 11.
constexpr DxReport kReportDiagnostico{
    11, ", Diagnóstico del recién nacido: ", "Diagnóstico del recién nacido: ", ""};
}  // namespace

void NewbornsValidator::check_fields(RunContext& run, FileContext& fc) {
    fc.reported_errors = 0;
    if (!check_service_header(run, fc, kEmptyField, false)) return;

    check_date_field(run, fc, 5);

    take_field_definition(run, fc, 6);
    if (ltrim(fc.field(6)).empty() ||
        static_cast<double>(char_length(fc.field(6))) > run.length_in_force)
        field_error(fc, 6, ": Con longitud mayor a la definida o no tiene contenido");
    else
        check_hour(fc, 6, ": Formato de hora incorrecto", ":Formato de minutos incorrecto");

    if (!fails_length(run, fc, 7) && !is_numeric(fc.field(7)))
        field_error(fc, 7, ": el contenido no es numerico");

    if (!fails_length(run, fc, 8) && !fails_empty(fc, 8)) {
        double control = leading_number_value(fc.field(8));
        if (control > 2) field_error(fc, 8, kNotAValue);
        if (control <= 0) field_error(fc, 8, kNotAValue);
    }

    if (!fails_length(run, fc, 9) && !fails_empty(fc, 9)) {
        if (fc.field(9) == "1") field_error(fc, 9, ": Los valores permitidos son M o F no 1");
        if (fc.field(9) == "2") field_error(fc, 9, ": Los valores permitidos son M o F no 2");
    }

    if (!fails_length(run, fc, 10)) fails_empty(fc, 10);

    if (!fails_length(run, fc, 11) && !fails_empty(fc, 11)) {
        pad_diagnosis_code(fc.field_ref(11));
        check_diagnosis(run, fc, fc.field(11), 11);
    }

    fails_length(run, fc, 12);
    if (!fails_length(run, fc, 13) && !ltrim(fc.field(13)).empty()) {
        if (is_valid_date(fc.field(13)))
            check_date(run, fc, 13);
        else
            field_error(fc, 13, ": Contenido no cumple con el formato de fecha");
    }
    fails_length(run, fc, 14);

    report_unknown_diagnosis(run, fc, kReportDiagnostico);
    non_numeric_id_card(fc, {});
    relate_user(run, fc, fc.field(3), fc.field(4));
    check_diagnosis_sex(run, fc, 11);
    append_user_messages(run, fc);
}

}  // namespace corvela
