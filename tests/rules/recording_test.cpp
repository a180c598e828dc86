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
        fc.num_campos = 17;
        fc.campo.assign(18, "");
        fill_marcas(fc, 17, '0');
    }
};

TEST_F(Recording, MarksAndCounters) {
    field_error(fc, 1, "x");
    field_error(fc, 17, "y");
    EXPECT_EQ(fc.marcas, "10000000000000001");
    registra_error(fc, 25, 17, "z");  // beyond the fields: counted, not marked
    EXPECT_EQ(fc.marcas, "10000000000000001");
    EXPECT_EQ(fc.C[25], 1);
    // Counters outside 1 to 30 are ignored.
    cuenta_error(fc, field_counter(31));
    cuenta_error(fc, Counter::Ninguno);
    EXPECT_EQ(std::accumulate(fc.C.begin(), fc.C.end(), 0.0), 3);
    // The marks are rebuilt to the field count.
    fill_marcas(fc, 15, '0');
    registra_error(fc, 2, 6, "x");
    EXPECT_EQ(fc.marcas, "010000");
}

TEST_F(Recording, SplitKeepsEmptyFieldsAndDropsATrailingComma) {
    EXPECT_EQ(split_fields("a, b ,c", fc), 3);
    EXPECT_EQ(fc.campo[2], "b");
    EXPECT_EQ(split_fields("a,,c,", fc), 3);
    EXPECT_EQ(fc.campo[2], "");
    EXPECT_EQ(split_fields(",x", fc), 2);
    EXPECT_EQ(fc.campo[1], "");
    std::string many(30, ',');
    EXPECT_EQ(split_fields(many + "z", fc), 31);  // surplus fields are counted, not kept
    EXPECT_EQ(fc.campo[17], "");
}

}  // namespace
}  // namespace corvela
