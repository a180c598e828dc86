// The checks of service records: dates (`valida_fecha`), the relation of a record to a user of
// the delivery, diagnoses against CIE10 and procedures against CUPS, with the user's sex and age.
#pragma once

#include <string>
#include <string_view>

#include "rules/file_context.h"
#include "rules/run_context.h"

namespace corvela {

// Checks field k as a date and sets `fecha_atencion` (the first day of the remission month
// after a failure).
void valida_fecha(RunContext& run, FileContext& fc, int k);
// `fecha_atencion` = "01/" + remission month + "/" + remission year; the month with two digits
// when `two_digit_month`.
void fecha_atencion_de_remision(RunContext& run, bool two_digit_month);
// A date field: its length first (on failure the service date falls back to the remission
// month), else `valida_fecha`.
void fecha_de_servicio(RunContext& run, FileContext& fc, int k);

bool existe_usuario(RunContext& run, std::string_view tipo, std::string_view numero);
void relaciona_usuario(RunContext& run, FileContext& fc, std::string_view tipo,
                       std::string_view numero);
void datos_usuario(RunContext& run, std::string_view tipo, std::string_view numero);

// Looks up the code of diagnosis field k (as the caller normalised it) in CIE10.
void valida_cie10(RunContext& run, FileContext& fc, std::string_view codigo, int k);
void valida_sexo_dx(RunContext& run, FileContext& fc, int k);
void valida_edad_dx(RunContext& run, FileContext& fc, int k);
void valida_cups(RunContext& run, FileContext& fc, int k, std::string_view archivo,
                 std::string_view codigo, std::string_view tipo, std::string_view numero);
void valida_edad_procedimiento(RunContext& run, FileContext& fc, std::string_view ini,
                               std::string_view fin, int k);

}  // namespace corvela
