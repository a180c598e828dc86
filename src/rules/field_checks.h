// The checks every validator runs on its fields: the field definition in force (`lee_campo`),
// the length checks, the emptiness check, the IPS-code check, and the code-table and list checks.
#pragma once

#include <string_view>

#include "rules/file_context.h"
#include "rules/run_context.h"

namespace corvela {

inline constexpr std::string_view kLongitudMayor = ": Con longitud mayor a la definida";
inline constexpr std::string_view kLongitudMayorMenor =
    ": Con longitud mayor o menor a la definida";
inline constexpr std::string_view kSinContenido = ": Campo sin contenido";
inline constexpr std::string_view kNoDefinido = ": No esta definido en los parametros";
inline constexpr std::string_view kIpsNoCorresponde =
    ": Codigo de IPS no corresponde al definico en el archivo de control";

// `lee_campo`: the maximum length of field k becomes the one in force; a field without a
// definition leaves the previous one.
void lee_campo(RunContext& run, const FileContext& fc, int k);

// "L>": `lee_campo`, then a field longer than its maximum is an error. True when it failed.
bool fails_length(RunContext& run, FileContext& fc, int k);
// "L=": `lee_campo`, then a field whose length differs from its maximum is an error.
bool fails_exact_length(RunContext& run, FileContext& fc, int k);
// "E": a field empty after removing leading blanks is an error with `message`.
bool fails_empty(FileContext& fc, int k, std::string_view message = kSinContenido);
// The IPS code of the record must be the one of the control file.
bool fails_ips_code(RunContext& run, FileContext& fc, int k);

// Code-table checks: the value must be a code of the table.
void valida_tipo_documento(RunContext& run, FileContext& fc, std::string_view value, int k);
void valida_tipo_documento1(RunContext& run, FileContext& fc, std::string_view value, int k);
void valida_tipo_usuario(RunContext& run, FileContext& fc, std::string_view value, int k);
void valida_finalidad_consulta(RunContext& run, FileContext& fc, std::string_view value, int k);
void valida_causa_externa(RunContext& run, FileContext& fc, std::string_view value, int k);
void valida_concepto(RunContext& run, FileContext& fc, std::string_view value, int k);
// Fixed lists, compared exactly.
void valida_lista_1a3(FileContext& fc, std::string_view value, int k);
void valida_lista_1a4(FileContext& fc, std::string_view value, int k);

}  // namespace corvela
