#include <gtest/gtest.h>

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

// A field's error marks its field, one beyond the fields is counted but marks nothing, and the
// marks are rebuilt to the field count; a record splits at every comma, a last one ending it.
TEST_F(Recording, MarksFollowTheFieldsAndRecordsSplitAtCommas) {
    field_error(fc, 1, "x");
    field_error(fc, 17, "y");
    describe_field_error(fc, 25, 17, "z");
    EXPECT_EQ(fc.marks, "10000000000000001");
    EXPECT_EQ(fc.counters[counter_of_code(25)], 1);
    fill_marks(fc, 15, '0');
    describe_field_error(fc, 2, 6, "x");
    EXPECT_EQ(fc.marks, "010000");

    const struct {
        std::string line;
        int count;
        size_t field;
        const char* value;
    } splits[] = {{"a, b ,c", 3, 2, "b"},
                  {"a,,c,", 3, 2, ""},
                  {",x", 2, 1, ""},
                  {std::string(30, ',') + "z", 31, 17, ""}};  // surplus fields counted, not kept
    for (const auto& c : splits) {
        EXPECT_EQ(split_fields(c.line, fc), c.count) << c.line;
        EXPECT_EQ(fc.fields[c.field], c.value) << c.line;
    }
}

}  // namespace
}  // namespace corvela
