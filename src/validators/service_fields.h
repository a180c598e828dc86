// Pieces shared by the validators of the service files: the relation of a record to a validated
// user, the hour rule, the report of an unknown diagnosis, the normalisation of diagnosis and
// external-cause codes and the cut of descriptive texts.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

#include "rules/file_context.h"
#include "rules/run_context.h"

namespace corvela {

// Texts appended with the comma-blank join (", " before them when the description has text).
inline constexpr std::string_view kNoUser =
    "No se relaciona con un usuario: el registro de usuario no existe o no paso la validación";
inline constexpr std::string_view kNotAValue = ": Contenido no corresponde a los valores definidos";

// Fields 1 to 4 of a service record (invoice number, IPS code, the user's document type and
// number) and then the user test, with the number as the document check leaves it.
// `factura_vacia` is the text of an empty invoice number; the document type is checked in upper
// case and also stored so when `tipo_en_mayusculas`. False when the record has no validated
// user: the caller skips its remaining checks.
bool check_service_header(RunContext& run, FileContext& fc, std::string_view factura_vacia,
                          bool tipo_en_mayusculas);

// The user test after field 4: when no validated user has the document of fields 3 and 4,
// the line gets its error (counted under 23) and false is returned; the caller then skips the
// remaining checks of the record.
bool has_validated_user(RunContext& run, FileContext& fc);

// The hour rule of an hour field hhmm: hour 0..23 and minutes 0..59, each read as the leading
// number of its two characters; each failure is an error of field k with its own message.
void check_hour(FileContext& fc, int k, std::string_view hour_message,
                std::string_view minute_message);
// An hour field: its length and its emptiness first, then the hour rule.
void check_hour_field(RunContext& run, FileContext& fc, int k, std::string_view hour_message,
                      std::string_view minute_message);

// How an unknown diagnosis of field `k` is introduced in the description: `plain_form` when the
// description is empty, `comma_form` otherwise, then `before_message` and the lookup's message.
struct DxReport {
    int k;
    std::string_view comma_form, plain_form, before_message;
};
// Reports the diagnosis lookup's message (when there is one) under counter k, only when it is the
// line's only error so far, or when other messages came before it and errors were added since
// the last report; otherwise the line fails without a word on it. Keeps the several-messages flag
// and the saved count.
void report_unknown_diagnosis(const RunContext& run, FileContext& fc, const DxReport& report);

// A diagnosis code of 3 characters gets one leading "0", one of 2 characters two.
void pad_diagnosis_code(std::string& codigo);

// "0" put before the value with its leading blanks removed (external cause of the wrong length).
void prefix_zero(std::string& codigo);

// The text cut to its first `length` characters when it is longer.
void cut_to_length(std::string& text, double length);

// The messages waiting in the slots named (user relation, diagnosis, sex, age), in that order,
// each when not empty, joined with a comma.
void append_messages(const RunContext& run, FileContext& fc,
                     std::initializer_list<MessageSlot> slots);
// The user-relation, sex and age messages of the line, each when not empty, joined with a comma.
void append_user_messages(const RunContext& run, FileContext& fc);

}  // namespace corvela
