// Recording of the inconsistencies of a line: the error description, the per-field marks and
// the thirty counters of the file; and the `ERRORES` row written at the end of each data file.
#pragma once

#include <string>
#include <string_view>

#include "db/database.h"
#include "rules/file_context.h"

namespace corvela {

// The thirty counters of a file. Counter k up to the file's field count counts the errors of
// field k; the codes from 21 count kinds of error not tied to one field. Some codes count another
// kind in another file type: each name says where it is used.
enum class Counter {
    Ninguno = 0,                   // counts nothing
    Estructura = 21,               // a line empty, too long or with another field count
    CedulaNoNumerica = 22,         // a "CC" number that is not numeric
    SinUsuario = 23,               // services: no validated user has the record's document
    EdadNoConcuerda = 23,          // users: an age that does not fit its unit
    ExpedicionAntesDeInicio = 23,  // invoices: issued before the period starts
    SexoDx = 24,                  // services: the user's sex does not fit the (admission) diagnosis
    Municipio = 24,               // users: department and municipality do not match
    ExpedicionTrasRemision = 24,  // invoices: issued after the remission
    SexoDxEgreso = 25,            // hospitalisations: sex against the discharge diagnosis
    DxMuerte = 25,                // hospitalisations: sex or age against the cause of death
    DocumentoDosCaracteres = 25,  // procedures: a non-numeric "CC" number of two characters
    InicioTrasFinal = 25,         // invoices: the period starts after it ends
    IngresoTrasEgreso = 26,       // hospitalisations: admitted after discharge
    LongitudDocumento = 29,       // the length notes of the document check
};

// The counter of the errors of field k.
constexpr Counter field_counter(int k) {
    return static_cast<Counter>(k);
}

void limpia_contadores(FileContext& fc);
// One more in counter `c`; a code outside 1..30 changes nothing.
void cuenta_error(FileContext& fc, Counter c);

// A new error of the line: `errores_linea` + 1, and the error kept with its field and the name
// of its check. Its text comes with the joins that follow, or, when its check leaves the message
// in `slot`, with the join of that message.
void line_error(FileContext& fc, int field, std::string_view check = {},
                MessageSlot slot = MessageSlot::None);

// Records an error of field k: display name and message into `descripcion`, counter k, mark k.
// The error is kept with its text; `errores_linea` is its caller's to count.
void registra_error(FileContext& fc, int k, int n, std::string_view message);
// `errores_linea` + 1, then `registra_error` for field k with the file's field count.
void field_error(FileContext& fc, int k, std::string_view message);

// The three joins of a text that is not a field message. The text belongs to the last error
// whose message waits in `slot`, or to the last error when the slot is `None`.
// Comma-blank join: ", " + text when `descripcion` is not empty, the text alone otherwise.
void comma_blank_join(FileContext& fc, std::string_view text, MessageSlot slot = MessageSlot::None);
// A record-level inconsistency: `errores_linea` + 1, the text comma-blank joined, counter `c`;
// `field` is the field it is about, when one.
void record_error(FileContext& fc, std::string_view text, Counter c, int field = 0);
// Comma join: "," + text when not empty, the text alone otherwise.
void comma_join(FileContext& fc, std::string_view text, MessageSlot slot = MessageSlot::None);
// Plain join: the text appended with no separator.
void plain_join(FileContext& fc, std::string_view text, MessageSlot slot = MessageSlot::None);

// What one error of the line says: the text it put into `descripcion`, without the comma and
// blanks that joined it to the text before and without blanks after it; for an error that put
// no text there, the display name of its field and its check, as "name: check".
std::string error_text(const FileContext& fc, const LineError& error);

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
