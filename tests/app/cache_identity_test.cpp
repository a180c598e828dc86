// The reference rows and users held in memory during a run give exactly the answers of the
// lookups on the database itself: the same error files, accepted lines and stored rows.
#include <gtest/gtest.h>

#include "app/program.h"
#include "app/validation_run.h"
#include "db/schema.h"
#include "support/installation.h"

namespace corvela {
namespace {

// Validates the sample delivery on the sample installation; the outputs, file by file, and the
// stored rows, table by table.
std::map<std::string, std::string> validate_sample(bool uncached) {
    testing::Installation inst{testing::Sample{}};
    testing::ScriptedUi ui;
    testing::FixedClock clock({2026, 12, 6});
    Program program(ui, clock);
    EXPECT_TRUE(program.start(inst.config));
    program.uncached = uncached;
    EXPECT_EQ(BLeer_Click(program, inst.delivery).ending(), Ending::Done);

    std::map<std::string, std::string> out;
    for (const auto& e : std::filesystem::directory_iterator(inst.results()))
        out[e.path().filename().string()] = testing::read_file(e.path());
    for (const auto& t : file_types()) {
        std::string dump;
        for (const auto& row : inst.rows(std::string("SELECT * FROM ") + t.table))
            dump += row + "\n";
        out[t.table] = dump;
    }
    for (const auto& row : inst.rows("SELECT * FROM ERRORES")) out["ERRORES"] += row + "\n";
    return out;
}

TEST(CacheIdentity, SampleDeliveryGivesTheSameResultsWithAndWithoutCaches) {
    auto cached = validate_sample(false);
    auto uncached = validate_sample(true);
    ASSERT_EQ(cached.size(), uncached.size());
    EXPECT_GT(cached.size(), 20u);
    for (const auto& [name, content] : cached) EXPECT_EQ(content, uncached[name]) << name;
    EXPECT_NE(cached["consulta"], "");  // the sample stores consultations
}

}  // namespace
}  // namespace corvela
