// A control record's counts: the fifth field stands in for the lines read until its file is
// counted, and the kept texts read back as they were written.
#include "rules/delivery.h"

#include <gtest/gtest.h>

namespace corvela {
namespace {

TEST(ControlRecord, TheFifthFieldStandsForTheLinesReadUntilCounted) {
    ControlRecord r = ControlRecord::from_fields(
        {"760010012301", "01/11/2026", "US000001", "3", "7x", "dropped"});
    EXPECT_EQ(r.code(), "US000001");
    EXPECT_TRUE(r.has_read());
    EXPECT_EQ(r.read(), 7);
    EXPECT_EQ(r.read_text(), "7x");
    EXPECT_FALSE(r.passed_text());

    FileCounts counts;
    counts.lines_read = 12;
    counts.lines_passed = 10;
    r.count(counts);
    EXPECT_EQ(r.read_text(), "12");
    EXPECT_EQ(r.passed_text(), "10");
    EXPECT_FALSE(r.fifth_field);
}

TEST(ControlRecord, KeptTextsReadBackAsNumbersOrTheFifthField) {
    const struct {
        const char* kept;
        std::optional<double> lines_read;
        std::optional<std::string> fifth_field;
    } cases[] = {{"5", 5, std::nullopt}, {"07", 7, std::nullopt}, {"abc", std::nullopt, "abc"}};
    for (const auto& c : cases) {
        ControlRecord r;
        r.set_read_text(c.kept);
        EXPECT_EQ(r.lines_read, c.lines_read) << c.kept;
        EXPECT_EQ(r.fifth_field, c.fifth_field) << c.kept;
    }
}

TEST(ControlRecord, SwappingMovesTheFourFieldsAndLeavesTheCounts) {
    ControlRecord am = ControlRecord::from_fields({"a", "d", "AM000001", "1", "9"});
    ControlRecord us = ControlRecord::from_fields({"b", "e", "US000001"});
    am.swap_fields(us);
    EXPECT_EQ(am.code(), "US000001");
    EXPECT_FALSE(am.declared_count);
    EXPECT_EQ(am.fifth_field, "9");
    EXPECT_EQ(us.code(), "AM000001");
    EXPECT_EQ(us.declared(), "1");
    EXPECT_FALSE(us.fifth_field);
}

}  // namespace
}  // namespace corvela
