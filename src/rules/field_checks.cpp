#include "rules/field_checks.h"

#include "platform/text.h"
#include "rules/error_recording.h"

namespace corvela {

void take_field_definition(RunContext& run, const FileContext& fc, int k) {
    if (const FieldDefinition* f = fc.defs->find(k)) {
        run.length_in_force = f->max_length;
        run.field_in_force = f;
    }
}

bool fails_length(RunContext& run, FileContext& fc, int k) {
    take_field_definition(run, fc, k);
    if (static_cast<double>(char_length(fc.field(k))) > run.length_in_force) {
        field_error(fc, k, kTooLong);
        return true;
    }
    return false;
}

bool fails_exact_length(RunContext& run, FileContext& fc, int k) {
    take_field_definition(run, fc, k);
    if (static_cast<double>(char_length(fc.field(k))) != run.length_in_force) {
        field_error(fc, k, kWrongLength);
        return true;
    }
    return false;
}

bool fails_empty(FileContext& fc, int k, std::string_view message) {
    if (ltrim(fc.field(k)).empty()) {
        field_error(fc, k, message);
        return true;
    }
    return false;
}

bool fails_ips_code(RunContext& run, FileContext& fc, int k) {
    if (fc.field(k) != ltrim(run.delivery.header.ips_code)) {
        field_error(fc, k, kOtherIps);
        return true;
    }
    return false;
}

namespace {
void check_code(RunContext& run, FileContext& fc, CodeTable table, std::string_view value, int k) {
    if (!run.references().has_code(table, value)) field_error(fc, k, kNotDefined);
}

void check_list(FileContext& fc, std::string_view value, int k, int last) {
    for (int i = 1; i <= last; ++i)
        if (value == std::string(1, static_cast<char>('0' + i))) return;
    field_error(fc, k, kNotDefined);
}
}  // namespace

void check_document_type(RunContext& run, FileContext& fc, std::string_view value, int k) {
    check_code(run, fc, CodeTable::DocumentType, value, k);
}
void check_provider_document_type(RunContext& run, FileContext& fc, std::string_view value, int k) {
    check_code(run, fc, CodeTable::ProviderDocumentType, value, k);
}
void check_user_type(RunContext& run, FileContext& fc, std::string_view value, int k) {
    check_code(run, fc, CodeTable::UserType, value, k);
}
void check_consultation_purpose(RunContext& run, FileContext& fc, std::string_view value, int k) {
    check_code(run, fc, CodeTable::ConsultationPurpose, value, k);
}
void check_external_cause(RunContext& run, FileContext& fc, std::string_view value, int k) {
    check_code(run, fc, CodeTable::ExternalCause, value, k);
}
void check_service_concept(RunContext& run, FileContext& fc, std::string_view value, int k) {
    check_code(run, fc, CodeTable::ServiceConcept, value, k);
}
void check_one_to_three(FileContext& fc, std::string_view value, int k) {
    check_list(fc, value, k, 3);
}
void check_one_to_four(FileContext& fc, std::string_view value, int k) {
    check_list(fc, value, k, 4);
}

}  // namespace corvela
