// Recording of the inconsistencies of a line: the error description, the per-field marks and
// the thirty counters of the file; and the `ERRORES` row written at the end of each data file.
#pragma once

#include <string>
#include <string_view>

#include "db/database.h"
#include "rules/file_context.h"

namespace corvela {

void limpia_contadores(FileContext& fc);
void cuenta_error(FileContext& fc, int n);

// Records an error of field k: display name and message into `descripcion`, counter k, mark k.
void registra_error(FileContext& fc, int k, int n, std::string_view message);
// `errores_linea` + 1, then `registra_error` for field k with the file's field count.
void field_error(FileContext& fc, int k, std::string_view message);

// The three joins of a text that is not a field message.
// Comma-blank join: ", " + text when `descripcion` is not empty, the text alone otherwise.
void comma_blank_join(FileContext& fc, std::string_view text);
// A record-level inconsistency: `errores_linea` + 1, the text comma-blank joined, counter `code`.
void record_error(FileContext& fc, std::string_view text, int code);
// Comma join: "," + text when not empty, the text alone otherwise.
void comma_join(FileContext& fc, std::string_view text);
// Plain join: the text appended with no separator.
void plain_join(FileContext& fc, std::string_view text);

// Sets `marcas` to `length` characters of `c`.
void fill_marcas(FileContext& fc, size_t length, char c);

struct ErroresKey {
    double nro_radicacion = 0;
    std::string COD_EAPB;
    std::string tipo;
    std::string nro_remision;
};
// `graba_errores`: one `ERRORES` row with the file's counters.
void graba_errores(Database& work, const ErroresKey& key, const FileContext& fc);

}  // namespace corvela
