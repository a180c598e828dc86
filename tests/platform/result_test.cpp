#include "platform/result.h"

#include <gtest/gtest.h>

#include <string>

namespace corvela {
namespace {

// A result that stopped or failed has no value: asking for one ends the program, and value_or
// gives the value the caller names.
TEST(ResultValue, OnlyADoneResultGivesItsValue) {
    EXPECT_EQ(Result<std::string>::done("a").value_or("b"), "a");
    EXPECT_EQ(Result<std::string>::failed("why").value_or("b"), "b");
    EXPECT_DEATH(Result<std::string>::stopped("why").value(), "sin valor");
}

}  // namespace
}  // namespace corvela
