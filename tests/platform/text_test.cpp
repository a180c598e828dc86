#include "platform/text.h"

#include <gtest/gtest.h>

#include "platform/encoding.h"

namespace corvela {
namespace {

TEST(NumberText, PutsOneBlankBeforeNonNegativeNumbers) {
    EXPECT_EQ(number_text(5), " 5");
    EXPECT_EQ(number_text(0), " 0");
    EXPECT_EQ(number_text(-2), "-2");
    EXPECT_EQ(number_text(2.5), " 2.5");
    EXPECT_EQ(number_text(1234567), " 1234567");
    EXPECT_EQ(value_text(31234567), "31234567");
}

TEST(LeadingNumber, ReadsTheNumericPrefixOnly) {
    const std::pair<const char*, double> cases[] = {
        {"  12abc", 12}, {"-3", -3},   {"1.5e2x", 150}, {"abc", 0},   {"", 0},
        {"12-3", 12},    {"1e999", 0}, {"-1e999x", 0},  {"1e-400", 0}};
    for (auto [text, value] : cases) EXPECT_EQ(leading_number_value(text), value) << text;
}

TEST(IsNumeric, TheWholeTextMustBeOneNumber) {
    for (const char* yes : {" 123 ", "-1.5", "1e3", "1e-400"}) EXPECT_TRUE(is_numeric(yes)) << yes;
    for (const char* no : {"", "   ", "1234567-8", "1.2.3", "12AB", "1e999", "-1E400"})
        EXPECT_FALSE(is_numeric(no)) << no;
}

TEST(Dates, DayMonthYearNamingARealDay) {
    for (const char* yes : {"29/02/2024", "1/2/2026", "01-02-2026"})
        EXPECT_TRUE(is_valid_date(yes)) << yes;
    for (const char* no : {"29/02/2023", "31/02/2026", "01-02/2026", "01/02/26", "00/00/0000"})
        EXPECT_FALSE(is_valid_date(no)) << no;
    EXPECT_EQ(iso_date(*parse_date("1/3/2026")), "2026-03-01");
}

TEST(Formats, DigitPatternsRoundHalfToEven) {
    EXPECT_EQ(format_number(15, "#####0"), "15");
    EXPECT_EQ(format_number(0, "####0.000"), "0.000");
    EXPECT_EQ(format_number(0.0125, "####0.000"), "0.012");
    EXPECT_EQ(format_number(1234567.5, "##,##0.000"), "1,234,567.500");
}

TEST(Texts, LengthsAreCountedInCharacters) {
    EXPECT_EQ(char_length("MUÑOZ"), 5u);
    EXPECT_EQ(char_length("CALLE ÑANDÚ 12 € 34 ÑÑ"), 22u);  // past eight bytes at a time
    EXPECT_EQ(to_upper("muñoz ávila"), "MUÑOZ ÁVILA");
    EXPECT_EQ(mid_chars("AC000001", 3), "000001");
    EXPECT_EQ(trim("  a b  "), "a b");
    EXPECT_EQ(trim("\ta\t"), "\ta\t");  // only blanks are trimmed
}

TEST(Encodings, Windows1252RoundTripsEveryByte) {
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    std::string utf8 = windows1252_to_utf8(all);
    EXPECT_TRUE(is_valid_utf8(utf8));
    EXPECT_EQ(utf8_to_windows1252(utf8), all);
    EXPECT_EQ(windows1252_to_utf8("MU\xD1OZ"), "MUÑOZ");
    EXPECT_FALSE(is_valid_utf8("MU\xD1OZ"));
}

}  // namespace
}  // namespace corvela
