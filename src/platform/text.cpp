#include "platform/text.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace corvela {

std::string_view ltrim(std::string_view s) {
    size_t i = 0;
    while (i < s.size() && s[i] == ' ') ++i;
    return s.substr(i);
}

std::string_view rtrim(std::string_view s) {
    size_t n = s.size();
    while (n > 0 && s[n - 1] == ' ') --n;
    return s.substr(0, n);
}

std::string_view trim(std::string_view s) {
    return rtrim(ltrim(s));
}

namespace {
inline bool is_continuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

// Byte offset of the character with 0-based index `n` (or the size when past the end).
size_t offset_of_char(std::string_view s, size_t n) {
    size_t i = 0;
    while (i < s.size() && n > 0) {
        ++i;
        while (i < s.size() && is_continuation(static_cast<unsigned char>(s[i]))) ++i;
        --n;
    }
    return i;
}
}  // namespace

size_t char_length(std::string_view s) {
    // Every byte but a continuation byte (10xxxxxx) opens a character; eight at a time.
    size_t continuations = 0, i = 0;
    for (; i + 8 <= s.size(); i += 8) {
        uint64_t w;
        std::memcpy(&w, s.data() + i, 8);
        // One in the low bit of each continuation byte, summed by the multiplication.
        uint64_t ones = (w & ~(w << 1) & 0x8080808080808080u) >> 7;
        continuations += static_cast<size_t>((ones * 0x0101010101010101u) >> 56);
    }
    for (; i < s.size(); ++i)
        if (is_continuation(static_cast<unsigned char>(s[i]))) ++continuations;
    return s.size() - continuations;
}

std::string left_chars(std::string_view s, size_t n) {
    return std::string(s.substr(0, offset_of_char(s, n)));
}

std::string mid_chars(std::string_view s, size_t start) {
    if (start < 1) start = 1;
    return std::string(s.substr(offset_of_char(s, start - 1)));
}

std::string mid_chars(std::string_view s, size_t start, size_t count) {
    return left_chars(mid_chars(s, start), count);
}

std::string to_upper(std::string_view s) {
    std::string out(s);
    for (size_t i = 0; i < out.size(); ++i) {
        auto c = static_cast<unsigned char>(out[i]);
        if (c >= 'a' && c <= 'z') {
            out[i] = static_cast<char>(c - 32);
        } else if (c == 0xC3 && i + 1 < out.size()) {
            // U+00E0..U+00FE (but U+00F7) are the lower-case Latin-1 letters: C3 A0..C3 BE.
            auto d = static_cast<unsigned char>(out[i + 1]);
            if (d >= 0xA0 && d <= 0xBE && d != 0xB7) out[i + 1] = static_cast<char>(d - 0x20);
            ++i;
        }
    }
    return out;
}

bool equals_nocase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    return to_upper(a) == to_upper(b);
}

namespace {
// A whole number below 1e15 in decimal; false for any other value.
bool whole_number_text(double value, char* buf, size_t size) {
    if (value != std::floor(value) || std::fabs(value) >= 1e15) return false;
    auto res = std::to_chars(buf, buf + size - 1, static_cast<long long>(value));
    *res.ptr = '\0';
    return true;
}
}  // namespace

std::string number_text(double value) {
    char buf[64];
    if (!whole_number_text(value, buf, sizeof buf)) {
        auto res = std::to_chars(buf, buf + sizeof buf - 1, value);
        *res.ptr = '\0';
    }
    std::string s = buf;
    if (s == "-0") s = "0";
    return value < 0 && s[0] == '-' ? s : " " + s;
}

namespace {
// Length of the numeric prefix of `s` (sign, digits, one decimal point, exponent).
size_t numeric_prefix(std::string_view s) {
    size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    size_t digits = 0;
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) ++i, ++digits;
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) ++i, ++digits;
    }
    if (digits == 0) return 0;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
        size_t exp_digits = 0;
        while (j < s.size() && std::isdigit(static_cast<unsigned char>(s[j]))) ++j, ++exp_digits;
        if (exp_digits > 0) i = j;
    }
    return i;
}

double parse_prefix(std::string_view s, size_t n) {
    // A plain run of up to 15 digits (the usual field) is exact as a whole number.
    std::string_view digits = s.substr(0, n);
    bool negative = !digits.empty() && digits[0] == '-';
    if (!digits.empty() && (digits[0] == '-' || digits[0] == '+')) digits.remove_prefix(1);
    if (digits.size() <= 15) {
        long long v = 0;
        bool whole = true;
        for (char c : digits) {
            if (c < '0' || c > '9') {
                whole = false;
                break;
            }
            v = v * 10 + (c - '0');
        }
        if (whole) return negative ? -static_cast<double>(v) : static_cast<double>(v);
    }
    std::string text(s.substr(0, n));
    // strtod gives 0 for a value too small to hold (its rounded value) and infinity for one too
    // large.
    return std::strtod(text.c_str(), nullptr);
}

// The length of the numeric prefix of `s` whose value a double holds: 0 when there is none, or
// when its value is too large for a double (no valid number, as the runtime judged it).
size_t valid_prefix(std::string_view s, double& value) {
    size_t n = numeric_prefix(s);
    if (n == 0) return 0;
    value = parse_prefix(s, n);
    return std::isinf(value) ? 0 : n;
}
}  // namespace

double leading_number_value(std::string_view s) {
    double value = 0;
    // A negative zero is zero.
    return valid_prefix(ltrim(s), value) == 0 ? 0.0 : value + 0.0;
}

bool is_numeric(std::string_view s) {
    s = trim(s);
    if (s.empty()) return false;
    double value = 0;
    size_t n = valid_prefix(s, value);
    return n > 0 && n == s.size();
}

bool is_real_day(int year, int month, int day) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (year < 1 || month < 1 || month > 12 || day < 1) return false;
    int limit = days[month - 1];
    bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    if (month == 2 && leap) limit = 29;
    return day <= limit;
}

namespace {
// Reads 1..max_digits digits at `i`; -1 when there are none or too many.
int read_digits(std::string_view s, size_t& i, size_t min_digits, size_t max_digits) {
    size_t start = i;
    int v = 0;
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) {
        v = v * 10 + (s[i] - '0');
        ++i;
        if (i - start > max_digits) return -1;
    }
    if (i - start < min_digits) return -1;
    return v;
}
}  // namespace

std::optional<Date> parse_date(std::string_view s) {
    size_t i = 0;
    int day = read_digits(s, i, 1, 2);
    if (day < 0 || i >= s.size()) return std::nullopt;
    char sep = s[i];
    if (sep != '/' && sep != '-') return std::nullopt;
    ++i;
    int month = read_digits(s, i, 1, 2);
    if (month < 0 || i >= s.size() || s[i] != sep) return std::nullopt;
    ++i;
    int year = read_digits(s, i, 4, 4);
    if (year < 0 || i != s.size()) return std::nullopt;
    if (!is_real_day(year, month, day)) return std::nullopt;
    return Date{year, month, day};
}

bool is_valid_date(std::string_view s) {
    return parse_date(s).has_value();
}

std::string iso_date(const Date& d) {
    if (d.year < 0 || d.year > 9999 || d.month < 0 || d.month > 99 || d.day < 0 || d.day > 99) {
        char buf[40];
        std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", d.year, d.month, d.day);
        return buf;
    }
    std::string s = "0000-00-00";
    s[0] = static_cast<char>('0' + d.year / 1000);
    s[1] = static_cast<char>('0' + d.year / 100 % 10);
    s[2] = static_cast<char>('0' + d.year / 10 % 10);
    s[3] = static_cast<char>('0' + d.year % 10);
    s[5] = static_cast<char>('0' + d.month / 10);
    s[6] = static_cast<char>('0' + d.month % 10);
    s[8] = static_cast<char>('0' + d.day / 10);
    s[9] = static_cast<char>('0' + d.day % 10);
    return s;
}

std::string short_date(const Date& d) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d/%02d/%04d", d.day, d.month, d.year);
    return buf;
}

std::optional<Date> parse_iso_date(std::string_view s) {
    if (s.size() != 10 || s[4] != '-' || s[7] != '-') return std::nullopt;
    size_t i = 0;
    int y = read_digits(s, i, 4, 4);
    i = 5;
    int m = read_digits(s, i, 2, 2);
    i = 8;
    int d = read_digits(s, i, 2, 2);
    if (y < 0 || m < 0 || d < 0 || !is_real_day(y, m, d)) return std::nullopt;
    return Date{y, m, d};
}

namespace {
// Rounds to `decimals` places, half to even on the decimal value as written.
std::string fixed_half_even(double value, int decimals) {
    double scale = std::pow(10.0, decimals);
    double scaled = value * scale;
    double r = std::nearbyint(scaled);  // default rounding mode: half to even
    // Guard against binary noise such as 2.5000000001 written as 2.5.
    if (std::fabs(scaled - std::trunc(scaled)) != 0.5) r = std::round(scaled);
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, r / scale);
    std::string s = buf;
    if (s[0] == '-' && s.find_first_not_of("-0.") == std::string::npos) s.erase(0, 1);
    return s;
}

std::string group_thousands(const std::string& digits) {
    std::string out;
    int count = 0;
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (count == 3) {
            out.insert(out.begin(), ',');
            count = 0;
        }
        out.insert(out.begin(), *it);
        ++count;
    }
    return out;
}
}  // namespace

std::string format_number(double value, std::string_view pattern) {
    size_t dot = pattern.find('.');
    int decimals = dot == std::string_view::npos ? 0 : static_cast<int>(pattern.size() - dot - 1);
    bool grouping = pattern.find(',') != std::string_view::npos;
    std::string s = fixed_half_even(value, decimals);
    if (!grouping) return s;
    bool negative = !s.empty() && s[0] == '-';
    if (negative) s.erase(0, 1);
    size_t point = s.find('.');
    std::string whole = point == std::string::npos ? s : s.substr(0, point);
    std::string rest = point == std::string::npos ? "" : s.substr(point);
    return (negative ? "-" : "") + group_thousands(whole) + rest;
}

}  // namespace corvela

namespace corvela {
std::string value_text(double value) {
    char buf[64];
    if (!whole_number_text(value, buf, sizeof buf)) std::snprintf(buf, sizeof buf, "%.15G", value);
    std::string s = buf;
    return s == "-0" ? "0" : s;
}
}  // namespace corvela
