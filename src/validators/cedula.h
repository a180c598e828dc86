// The "CC" number that is not a number, as the service validators test it after their fields:
// the document number of field 4 (leading blanks removed) has more than one character, is not
// numeric and field 3 is "CC". Each validator decides from its length and its check-digit
// hyphen which text, if any, the line gets.
#pragma once

#include <string_view>

#include "platform/text.h"
#include "rules/file_context.h"

namespace corvela {

struct CedulaNoNumerica {
    bool applies = false;
    size_t length = 0;    // characters of the number, leading blanks removed
    bool hyphen = false;  // its second-to-last character is "-"
};

inline CedulaNoNumerica cedula_no_numerica_campo4(const FileContext& fc) {
    CedulaNoNumerica c;
    std::string_view numero = ltrim(fc.field(4));
    c.length = char_length(numero);
    if (c.length <= 1 || fc.field(3) != "CC" || is_numeric(fc.field(4))) return c;
    c.applies = true;
    c.hyphen = mid_chars(numero, c.length - 1, 1) == "-";
    return c;
}

}  // namespace corvela
