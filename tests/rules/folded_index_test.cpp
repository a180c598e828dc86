#include "rules/folded_index.h"

#include <gtest/gtest.h>

#include "rules/users_index.h"

namespace corvela {
namespace {

TEST(FoldedIndex, KeysCompareAsTheDatabaseComparesText) {
    FoldedIndex<int> index;
    index.insert(FoldedKey("cc", "abc12"), 1);
    index.insert(FoldedKey("CC", "ABC12"), 2);  // the same key: the first value stays
    index.insert(FoldedKey("TI", "muñoz"), 3);
    index.insert(FoldedKey("C", "C1"), 4);
    index.insert(FoldedKey("j10x"), 5);
    struct Case {
        FoldedKey key;
        int value;  // 0: not found
    };
    const Case cases[] = {
        {FoldedKey("Cc", "aBc12"), 1},  {FoldedKey("CC", "ABC1"), 0},
        {FoldedKey("CC", "ABC12 "), 0}, {FoldedKey("TI", "MUñOZ"), 3},
        {FoldedKey("TI", "MUÑOZ"), 0},  // only ASCII letters fold
        {FoldedKey("CC", "1"), 0},      // the parts keep their bounds
        {FoldedKey("c", "c1"), 4},      {FoldedKey("J10X"), 5},
        {FoldedKey("J10", "X"), 0},     {FoldedKey(""), 0},
    };
    for (const Case& c : cases) {
        const int* found = index.find(c.key);
        EXPECT_EQ(found ? *found : 0, c.value) << c.key.first << "|" << c.key.second;
    }
    EXPECT_EQ(index.size(), 4u);
}

TEST(FoldedIndex, GrowsAndFindsEveryKey) {
    FoldedIndex<long> index;
    for (long i = 0; i < 50000; ++i) index.insert(FoldedKey("cc", std::to_string(i) + "x"), i);
    ASSERT_EQ(index.size(), 50000u);
    for (long i = 0; i < 50000; ++i) {
        const long* found = index.find(FoldedKey("CC", std::to_string(i) + "X"));
        ASSERT_TRUE(found) << i;
        EXPECT_EQ(*found, i);
        EXPECT_FALSE(index.find(FoldedKey("CC", std::to_string(i) + "Y")));
    }
}

TEST(UsersIndex, AUserAddedAfterAFailedLookupIsFound) {
    UsersIndex users;
    EXPECT_EQ(users.find("CC", "7"), nullptr);
    users.add("cc", "7", UserData{"1", 30, "F"});
    const UserData* user = users.find("CC", "7");
    ASSERT_NE(user, nullptr);
    EXPECT_EQ(user->sexo, "F");
}

}  // namespace
}  // namespace corvela
