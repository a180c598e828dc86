// Checks of an identification number against the document type in the field before it: the
// person's document (`check_document`) and the provider's document of the invoices file
// (`check_provider_document`), both of which trim the number and may replace it by its numeric
// value; and the record rule of a "CC" number that is not numeric.
#pragma once

#include <string_view>

#include "rules/error_recording.h"
#include "rules/file_context.h"

namespace corvela {

void check_document(FileContext& fc, int idx);
void check_provider_document(FileContext& fc, int idx);

inline constexpr std::string_view kNonNumericIdCard =
    "Numero de Identificación es tipo cedula y no es numerico";

// How a file type words and tests a "CC" number that is not numeric.
struct IdCardRule {
    int tipo = 3;  // the field of the document type; the number is the field after it
    // `kNonNumericIdCard` is comma-blank joined; this is its form for an empty description.
    std::string_view alone = kNonNumericIdCard;
    // A number whose second-to-last character is a hyphen (a check digit follows) is spared; with
    // this set, only a number of more than two characters is.
    bool hyphen_beyond_two = false;
    // When not empty, a number of two characters gets this text and counter instead.
    std::string_view two_characters = {};
    Counter two_characters_counter = Counter::NonNumericIdCard;
    // A number whose leading value is 0 gets the text once more.
    bool zero_test = false;
};

// The record rule: a number of more than one character (leading blanks removed) that is not
// numeric, of document type "CC", is an error of the line counted under `NonNumericIdCard`, unless
// the rule spares it. True when the line got an error.
bool non_numeric_id_card(FileContext& fc, const IdCardRule& rule);

}  // namespace corvela
