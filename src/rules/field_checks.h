// The checks every validator runs on its fields: the field definition in force
// (`take_field_definition`), the length checks, the emptiness check, the IPS-code check, and the
// code-table and list checks.
#pragma once

#include <string_view>

#include "rules/file_context.h"
#include "rules/run_context.h"

namespace corvela {

inline constexpr std::string_view kTooLong = ": Con longitud mayor a la definida";
inline constexpr std::string_view kWrongLength = ": Con longitud mayor o menor a la definida";
inline constexpr std::string_view kEmptyField = ": Campo sin contenido";
inline constexpr std::string_view kNotDefined = ": No esta definido en los parametros";
inline constexpr std::string_view kOtherIps =
    ": Codigo de IPS no corresponde al definico en el archivo de control";

// The maximum length of field k becomes the one in force; a field without a
// definition leaves the previous one.
void take_field_definition(RunContext& run, const FileContext& fc, int k);

// "L>": `take_field_definition`, then a field longer than its maximum is an error. True when it
// failed.
bool fails_length(RunContext& run, FileContext& fc, int k);
// "L=": `take_field_definition`, then a field whose length differs from its maximum is an error.
bool fails_exact_length(RunContext& run, FileContext& fc, int k);
// "E": a field empty after removing leading blanks is an error with `message`.
bool fails_empty(FileContext& fc, int k, std::string_view message = kEmptyField);
// The IPS code of the record must be the one of the control file.
bool fails_ips_code(RunContext& run, FileContext& fc, int k);

// Code-table checks: the value must be a code of the table.
void check_document_type(RunContext& run, FileContext& fc, std::string_view value, int k);
void check_provider_document_type(RunContext& run, FileContext& fc, std::string_view value, int k);
void check_user_type(RunContext& run, FileContext& fc, std::string_view value, int k);
void check_consultation_purpose(RunContext& run, FileContext& fc, std::string_view value, int k);
void check_external_cause(RunContext& run, FileContext& fc, std::string_view value, int k);
void check_service_concept(RunContext& run, FileContext& fc, std::string_view value, int k);
// Fixed lists, compared exactly.
void check_one_to_three(FileContext& fc, std::string_view value, int k);
void check_one_to_four(FileContext& fc, std::string_view value, int k);

}  // namespace corvela
