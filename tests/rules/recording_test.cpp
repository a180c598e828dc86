#include <gtest/gtest.h>

#include <numeric>

#include "rules/error_recording.h"
#include "support/installation.h"
#include "validators/frame.h"

namespace corvela {
namespace {

struct Recording : ::testing::Test {
    testing::Installation inst;
    FieldDefinitions defs{inst.ref(), "AC"};
    FileContext fc;
    void SetUp() override {
        fc.type = "AC";
        fc.defs = &defs;
        fc.field_count = 17;
        fc.fields.assign(18, "");
        fill_marks(fc, 17, '0');
    }
};

TEST_F(Recording, MarksAndCounters) {
    field_error(fc, 1, "x");
    field_error(fc, 17, "y");
    EXPECT_EQ(fc.marks, "10000000000000001");
    describe_field_error(fc, 25, 17, "z");  // beyond the fields: counted, not marked
    EXPECT_EQ(fc.marks, "10000000000000001");
    EXPECT_EQ(fc.counters[counter_of_code(25)], 1);
    // Counters outside 1 to 30 are ignored.
    count_error(fc, field_counter(31));
    count_error(fc, Counter::None);
    EXPECT_EQ(std::accumulate(fc.counters.begin(), fc.counters.end(), 0.0), 3);
    // The marks are rebuilt to the field count.
    fill_marks(fc, 15, '0');
    describe_field_error(fc, 2, 6, "x");
    EXPECT_EQ(fc.marks, "010000");
}

TEST_F(Recording, SplitKeepsEmptyFieldsAndDropsATrailingComma) {
    EXPECT_EQ(split_fields("a, b ,c", fc), 3);
    EXPECT_EQ(fc.fields[2], "b");
    EXPECT_EQ(split_fields("a,,c,", fc), 3);
    EXPECT_EQ(fc.fields[2], "");
    EXPECT_EQ(split_fields(",x", fc), 2);
    EXPECT_EQ(fc.fields[1], "");
    std::string many(30, ',');
    EXPECT_EQ(split_fields(many + "z", fc), 31);  // surplus fields are counted, not kept
    EXPECT_EQ(fc.fields[17], "");
}

}  // namespace
}  // namespace corvela
