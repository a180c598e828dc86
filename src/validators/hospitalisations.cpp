#include "validators/hospitalisations.h"

#include "platform/text.h"
#include "rules/documents.h"
#include "rules/error_recording.h"
#include "rules/field_checks.h"
#include "rules/service_checks.h"
#include "validators/service_fields.h"

namespace corvela {

namespace {
constexpr std::string_view kIngreso = "Diagnóstico principal de ingreso: ";
constexpr std::string_view kEgreso = "Diagnóstico principal de  egreso: ";
constexpr std::string_view kMuerte = "Diagnóstico causa basica de muerte: ";

constexpr DxReport kReportIngreso{
    10, ", Diagnóstico principal de ingreso: ", "Diagnóstico principal de ingreso: ", " "};
constexpr DxReport kReportEgreso{
    11, ",Diagnóstico principal de  egreso: ", " Diagnóstico principal de  egreso: ", ""};
constexpr DxReport kReportMuerte{
    17, ",Diagnóstico causa basica de muerte: ", " Diagnóstico causa basica de muerte: ", ""};

// Looks up the diagnosis of field r.k and reports it when unknown.
void check_and_report_diagnosis(RunContext& run, FileContext& fc, const DxReport& r) {
    check_diagnosis(run, fc, fc.field(r.k), r.k);
    report_unknown_diagnosis(run, fc, r);
}

// `description` + (", " + label or the label alone) + message, the text of the error whose
// message waits in `slot`.
void describe(FileContext& fc, std::string_view comma, std::string_view label,
              std::string_view message, MessageSlot slot) {
    if (!fc.description.empty()) plain_join(fc, comma, slot);
    plain_join(fc, label, slot);
    plain_join(fc, message, slot);
}

void pad_checked_diagnosis(RunContext& run, FileContext& fc, int k) {
    if (!fails_length(run, fc, k) && !fails_empty(fc, k)) pad_diagnosis_code(fc.field_ref(k));
}
}  // namespace

void HospitalisationsValidator::check_fields(RunContext& run, FileContext& fc) {
    fc.reported_errors = 0;
    if (!check_service_header(run, fc, kEmptyField, true)) return;

    if (!fails_length(run, fc, 5) && !fails_empty(fc, 5)) check_one_to_four(fc, fc.field(5), 5);
    if (!fails_length(run, fc, 6)) check_date(run, fc, 6);
    check_hour_field(run, fc, 7, ": formato de hora incorrecto", ": formato de minutos incorrecto");
    fails_length(run, fc, 8);

    if (!fails_length(run, fc, 9) && !fails_empty(fc, 9)) {
        // The length in force is the one of field 9.
        if (static_cast<double>(char_length(fc.field(9))) != run.length_in_force)
            prefix_zero(fc.field_ref(9));
        check_external_cause(run, fc, fc.field(9), 9);
    }

    pad_checked_diagnosis(run, fc, 10);
    pad_checked_diagnosis(run, fc, 11);
    for (int k = 12; k <= 15; ++k) fails_length(run, fc, k);

    if (!fails_length(run, fc, 16) && !fails_empty(fc, 16)) {
        double estado = leading_number_value(fc.field(16));
        if (estado < 1 || estado > 2)
            field_error(fc, 16, ": Contenido no correspondes a los valores definidos");
    }
    if (!fails_length(run, fc, 17) && fc.field(16) == "2" && !fails_empty(fc, 17))
        pad_diagnosis_code(fc.field_ref(17));

    if (!fails_length(run, fc, 18)) check_date(run, fc, 18);
    check_hour_field(run, fc, 19, ": Formato de hora incorrecto",
                     ": Formato de minutos incorrecto");

    // Record checks: their order matters, each diagnosis report reads the error count and the
    // several-messages flag as the checks before it left them.
    if (non_numeric_id_card(fc, {})) {
        fc.several_messages = 1;
        fc.reported_errors = fc.line_errors;
    }

    check_and_report_diagnosis(run, fc, kReportIngreso);
    relate_user(run, fc, fc.field(3), fc.field(4));
    check_diagnosis_sex(run, fc, 10);
    if (!run.slots.sex_message.empty()) {
        describe(fc, ", ", kIngreso, run.slots.sex_message, MessageSlot::Sex);
        count_error(fc, Counter::DiagnosisSex);
    }
    if (!run.slots.age_message.empty())
        describe(fc, ",  ", kIngreso, run.slots.age_message, MessageSlot::Age);

    check_and_report_diagnosis(run, fc, kReportEgreso);
    check_diagnosis_sex(run, fc, 11);
    if (!run.slots.sex_message.empty())
        describe(fc, ", ", kEgreso, run.slots.sex_message, MessageSlot::Sex);
    if (!run.slots.age_message.empty())
        describe(fc, ", ", kEgreso, run.slots.age_message, MessageSlot::Age);

    if (fc.field(16) == "2") {
        check_and_report_diagnosis(run, fc, kReportMuerte);
        check_diagnosis_sex(run, fc, 17);
        if (!run.slots.sex_message.empty()) {
            describe(fc, ", ", kMuerte, run.slots.sex_message, MessageSlot::Sex);
            count_error(fc, Counter::DeathDiagnosis);
        }
        if (!run.slots.age_message.empty()) {
            describe(fc, ", ", kMuerte, run.slots.age_message, MessageSlot::Age);
            count_error(fc, Counter::DeathDiagnosis);
        }
    }

    auto ingreso = parse_date(fc.field(6));
    auto egreso = parse_date(fc.field(18));
    if (ingreso && egreso && *ingreso > *egreso) {
        line_error(fc, 0);
        plain_join(fc, " Fecha de ingreso mayor que fecha de egreso ");
        count_error(fc, Counter::AdmittedAfterDischarge);
    }

    if (!run.slots.user_message.empty())
        comma_blank_join(fc, run.slots.user_message, MessageSlot::User);
}

}  // namespace corvela
