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
    None = 0,                     // counts nothing
    Structure = 21,               // a line empty, too long or with another field count
    NonNumericIdCard = 22,        // a "CC" number that is not numeric
    NoUser = 23,                  // services: no validated user has the record's document
    AgeUnit = 23,                 // users: an age that does not fit its unit
    IssuedBeforeStart = 23,       // invoices: issued before the period starts
    DiagnosisSex = 24,            // services: the user's sex does not fit the (admission) diagnosis
    Municipality = 24,            // users: department and municipality do not match
    IssuedAfterRemission = 24,    // invoices: issued after the remission
    DischargeDiagnosisSex = 25,   // hospitalisations: sex against the discharge diagnosis
    DeathDiagnosis = 25,          // hospitalisations: sex or age against the cause of death
    TwoCharacterDocument = 25,    // procedures: a non-numeric "CC" number of two characters
    StartAfterEnd = 25,           // invoices: the period starts after it ends
    AdmittedAfterDischarge = 26,  // hospitalisations: admitted after discharge
    DocumentLength = 29,          // the length notes of the document check
};

// The counter of the errors of field k.
constexpr Counter field_counter(int k) {
    return static_cast<Counter>(k);
}

void clear_counters(FileContext& fc);
// One more in counter `c`; a code outside 1..30 changes nothing.
void count_error(FileContext& fc, Counter c);

// Records an error of field k: display name and message into `description`, counter k, mark k.
void describe_field_error(FileContext& fc, int k, int n, std::string_view message);
// `line_errors` + 1, then `describe_field_error` for field k with the file's field count.
void field_error(FileContext& fc, int k, std::string_view message);

// The three joins of a text that is not a field message.
// Comma-blank join: ", " + text when `description` is not empty, the text alone otherwise.
void comma_blank_join(FileContext& fc, std::string_view text);
// A record-level inconsistency: `line_errors` + 1, the text comma-blank joined, counter `c`.
void record_error(FileContext& fc, std::string_view text, Counter c);
// Comma join: "," + text when not empty, the text alone otherwise.
void comma_join(FileContext& fc, std::string_view text);
// Plain join: the text appended with no separator.
void plain_join(FileContext& fc, std::string_view text);

// Sets `marks` to `length` characters of `c`.
void fill_marks(FileContext& fc, size_t length, char c);

struct ErrorRowKey {
    double nro_radicacion = 0;
    std::string COD_EAPB;
    std::string tipo;
    std::string nro_remision;
};
// One `ERRORES` row with the file's counters.
void write_error_row(Database& work, const ErrorRowKey& key, const FileContext& fc);

}  // namespace corvela
