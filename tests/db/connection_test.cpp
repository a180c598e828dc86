#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "db/database.h"

namespace corvela {
namespace {

class ConnectionTest : public ::testing::Test {
  protected:
    void SetUp() override { db->exec("CREATE TABLE t (a TEXT, b INTEGER, c REAL)"); }
    long long rows() { return db->count("SELECT * FROM t"); }

    std::unique_ptr<Database> db = Database::create(":memory:");
};

TEST_F(ConnectionTest, ATransactionNotCommittedIsRolledBack) {
    {
        Transaction tx(*db);
        db->exec("INSERT INTO t (a) VALUES ('dropped')");
    }
    EXPECT_EQ(rows(), 0);
    {
        Transaction tx(*db);
        db->exec("INSERT INTO t (a) VALUES ('kept')");
        tx.commit();
        EXPECT_THROW(tx.commit(), DatabaseFailure);
    }
    EXPECT_EQ(rows(), 1);
}

// What every database-facing test relies on goes unchecked elsewhere: nulls both ways, integers
// past 32 bits, a kept (uncopied) text, and a missing column named.
TEST_F(ConnectionTest, BoundValuesComeBackAsStored) {
    const std::string kept = "sin copia";
    Statement insert = db->prepare("INSERT INTO t (a, b, c) VALUES (?, ?, ?)");
    insert.bind_or_null(1, std::nullopt);
    insert.bind(2, int64_t{1} << 40);
    insert.bind(3);
    insert.exec();
    insert.reset();
    insert.bind_kept(1, kept);
    insert.exec();

    Statement read = db->prepare("SELECT a, B, c FROM t ORDER BY rowid");
    EXPECT_EQ(read.column_index("b"), 1);
    EXPECT_THROW(read.column_index("d"), DatabaseFailure);
    ASSERT_TRUE(read.step());
    EXPECT_TRUE(read.is_null(0));
    EXPECT_EQ(read.integer(1), int64_t{1} << 40);
    EXPECT_TRUE(read.is_null(2));
    ASSERT_TRUE(read.step());
    EXPECT_EQ(read.text(0), kept);
    EXPECT_FALSE(read.step());
}

}  // namespace
}  // namespace corvela
