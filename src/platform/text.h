// The desktop runtime's text conversions, written once and used everywhere: trimming of blanks,
// upper case, number text, the leading-number value, the numeric test, date validity and the
// digit-pattern formats. Texts are UTF-8; lengths are counted in characters.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/clock.h"

namespace corvela {

// Blanks are space characters; trimming removes spaces only.
std::string_view trim(std::string_view s);
std::string_view ltrim(std::string_view s);
std::string_view rtrim(std::string_view s);

// Number of characters (code points) of a UTF-8 text.
size_t char_length(std::string_view s);
// The first `n` characters of a UTF-8 text (all of it when shorter).
std::string left_chars(std::string_view s, size_t n);
// The characters from the 1-based position `start` on (empty when past the end).
std::string mid_chars(std::string_view s, size_t start);
std::string mid_chars(std::string_view s, size_t start, size_t count);

// Upper case of ASCII and Latin-1 letters (ñ becomes Ñ, á becomes Á).
std::string to_upper(std::string_view s);
// Text equality without regard to letter case (as the database compares text).
bool equals_nocase(std::string_view a, std::string_view b);

// A number in decimal, shortest form, with one blank before it when it is not negative:
// number_text(5) is " 5", number_text(-2) is "-2", number_text(2.5) is " 2.5".
std::string number_text(double value);

// Leading blanks skipped, then the longest numeric prefix (sign, digits, decimal point,
// exponent); 0 when there is none. A prefix whose value is too large for a double is no number
// (0); one too small is its rounded value.
double leading_number_value(std::string_view s);

// The whole text, blanks around allowed, is one number: sign, digits, one decimal point,
// exponent, its value within a double. Empty text is not numeric.
bool is_numeric(std::string_view s);

// A day/month/year date with one or two digits for day and month and four for the year,
// separated by '/' or '-' (the same both times), naming a real calendar day.
std::optional<Date> parse_date(std::string_view s);
bool is_valid_date(std::string_view s);
bool is_real_day(int year, int month, int day);

// ISO text YYYY-MM-DD, as the database stores dates.
std::string iso_date(const Date& d);
// The short date dd/mm/yyyy.
std::string short_date(const Date& d);
// An ISO text back to a date; nullopt when it is not one.
std::optional<Date> parse_iso_date(std::string_view s);

// Digit-pattern formats with '.' for decimals and ',' for thousands, rounding half to even:
// "#####0", "####0", "####0.000", "##,##0.000".
std::string format_number(double value, std::string_view pattern);

}  // namespace corvela

namespace corvela {
// A number as the runtime turns it into text when a text variable receives it: shortest form
// with up to 15 significant digits, no leading blank ("123", "12.5", "1.23456789012346E+19").
std::string value_text(double value);
}  // namespace corvela
