// Recording of the inconsistencies of a line: the error description, the per-field marks and
// the thirty counters of the file; and the `ERRORES` row written at the end of each data file.
#pragma once

#include <string>
#include <string_view>

#include "db/database.h"
#include "rules/counters.h"
#include "rules/file_context.h"

namespace corvela {

void clear_counters(FileContext& fc);
// One more in counter `c`; a code outside 1..30 changes nothing.
void count_error(FileContext& fc, Counter c);

// A new error of the line: `line_errors` + 1, and the error kept with its field and the name of
// its check. Its text comes with the joins that follow, or, when its check leaves the message in
// `slot`, with the join of that message.
void line_error(FileContext& fc, int field, std::string_view check = {},
                MessageSlot slot = MessageSlot::None);

// Records an error of field k: display name and message into `description`, counter k, mark k.
// The error is kept with its text; `line_errors` is its caller's to count.
void describe_field_error(FileContext& fc, int k, int n, std::string_view message);
// `line_errors` + 1, then `describe_field_error` for field k with the file's field count.
void field_error(FileContext& fc, int k, std::string_view message);

// The three joins of a text that is not a field message. The text belongs to the last error
// whose message waits in `slot`, or to the last error when the slot is `None`.
// Comma-blank join: ", " + text when `description` is not empty, the text alone otherwise.
void comma_blank_join(FileContext& fc, std::string_view text, MessageSlot slot = MessageSlot::None);
// A record-level inconsistency: `line_errors` + 1, the text comma-blank joined, counter `c`;
// `field` is the field it is about, when one.
void record_error(FileContext& fc, std::string_view text, Counter c, int field = 0);
// Comma join: "," + text when not empty, the text alone otherwise.
void comma_join(FileContext& fc, std::string_view text, MessageSlot slot = MessageSlot::None);
// Plain join: the text appended with no separator.
void plain_join(FileContext& fc, std::string_view text, MessageSlot slot = MessageSlot::None);

// What one error of the line says: the text it put into `description`, without the comma and
// blanks that joined it to the text before and without blanks after it; for an error that put
// no text there, the display name of its field and its check, as "name: check".
std::string error_text(const FileContext& fc, const LineError& error);

// Sets `marks` to `length` characters of `c`.
void fill_marks(FileContext& fc, size_t length, char c);

// What names the `ERRORES` row of a data file: the radicación number, the IPS code, the file type
// and the remission number.
struct ErrorRowKey {
    double radicacion = 0;
    std::string ips_code;
    std::string file_type;
    std::string remission;
};
// One `ERRORES` row with the file's counters.
void write_error_row(Database& work, const ErrorRowKey& key, const FileContext& fc);

}  // namespace corvela
