#include "validators/service_fields.h"

#include "platform/text.h"
#include "rules/documents.h"
#include "rules/error_recording.h"
#include "rules/field_checks.h"
#include "rules/service_checks.h"

namespace corvela {

bool has_validated_user(RunContext& run, FileContext& fc) {
    if (user_exists(run, fc.field(3), fc.field(4))) return true;
    record_error(fc, kNoUser, Counter::NoUser);
    return false;
}

void check_hour(FileContext& fc, int k, std::string_view hour_message,
                std::string_view minute_message) {
    const std::string& v = fc.field(k);
    double hour = leading_number_value(mid_chars(v, 1, 2));
    double minutes = leading_number_value(mid_chars(v, 3, 2));
    if (hour < 0 || hour > 23) field_error(fc, k, hour_message);
    if (minutes < 0 || minutes > 59) field_error(fc, k, minute_message);
}

void check_hour_field(RunContext& run, FileContext& fc, int k, std::string_view hour_message,
                      std::string_view minute_message) {
    if (!fails_length(run, fc, k) && !fails_empty(fc, k))
        check_hour(fc, k, hour_message, minute_message);
}

void report_unknown_diagnosis(const RunContext& run, FileContext& fc, const DxReport& report) {
    const std::string& message = run.slots.diagnosis_message;
    if (message.empty()) return;
    bool alone = fc.line_errors == 1 && fc.several_messages == 0;
    bool after_others =
        fc.line_errors > 1 && fc.several_messages == 1 && fc.line_errors != fc.reported_errors;
    if (!alone && !after_others) return;
    plain_join(fc, fc.description.empty() ? report.plain_form : report.comma_form,
               MessageSlot::Diagnosis);
    plain_join(fc, report.before_message, MessageSlot::Diagnosis);
    plain_join(fc, message, MessageSlot::Diagnosis);
    if (alone) fc.several_messages = 1;
    fc.reported_errors = fc.line_errors;
    count_error(fc, field_counter(report.k));
}

void pad_diagnosis_code(std::string& codigo) {
    std::string_view c = ltrim(codigo);
    if (char_length(c) == 3) codigo = "0" + std::string(c);
    c = ltrim(codigo);
    if (char_length(c) == 2) codigo = "00" + std::string(c);
}

void prefix_zero(std::string& codigo) {
    codigo = "0" + std::string(ltrim(codigo));
}

void cut_to_length(std::string& text, double length) {
    if (static_cast<double>(char_length(text)) > length)
        text = left_chars(text, length > 0 ? static_cast<size_t>(length) : 0);
}

void append_messages(const RunContext& run, FileContext& fc,
                     std::initializer_list<MessageSlot> slots) {
    for (MessageSlot slot : slots) {
        const std::string& m = slot == MessageSlot::User        ? run.slots.user_message
                               : slot == MessageSlot::Diagnosis ? run.slots.diagnosis_message
                               : slot == MessageSlot::Sex       ? run.slots.sex_message
                                                                : run.slots.age_message;
        if (!m.empty()) comma_join(fc, m, slot);
    }
}

void append_user_messages(const RunContext& run, FileContext& fc) {
    append_messages(run, fc, {MessageSlot::User, MessageSlot::Sex, MessageSlot::Age});
}

bool check_service_header(RunContext& run, FileContext& fc, std::string_view factura_vacia,
                          bool tipo_en_mayusculas) {
    if (!fails_length(run, fc, 1)) fails_empty(fc, 1, factura_vacia);
    if (!fails_length(run, fc, 2) && !fails_empty(fc, 2)) fails_ips_code(run, fc, 2);
    std::string tipo = to_upper(fc.field(3));
    if (tipo_en_mayusculas) fc.field_ref(3) = tipo;
    if (!fails_length(run, fc, 3) && !fails_empty(fc, 3)) check_document_type(run, fc, tipo, 3);
    if (!fails_length(run, fc, 4)) check_document(fc, 4);
    return has_validated_user(run, fc);
}

}  // namespace corvela
