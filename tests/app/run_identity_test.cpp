// Every way of running a validation gives the same run: lookups in memory or on the database,
// rows stored on the validating thread or by a writer on a second one. The same error files,
// accepted lines, stored rows, error counts and messages, also when the storage of a row fails
// while the validator has gone on past it.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <map>

#include "app/program.h"
#include "app/validation_run.h"
#include "db/schema.h"
#include "platform/text.h"
#include "support/installation.h"

namespace corvela {
namespace {

struct Way {
    bool uncached = false;
    int threads = 1;
};

// Everything a run leaves: its outputs file by file, the stored rows table by table, the
// messages shown and the counts of each file.
using Outcome = std::map<std::string, std::string>;

// A delivery of `users` users and as many consultations. Some users are wrong, some repeat an
// earlier one (in another letter case), and the consultations name users from all over the file.
void write_large_delivery(const testing::Installation& inst, int users) {
    for (const auto& e : std::filesystem::directory_iterator(inst.delivery))
        std::filesystem::remove(e.path());
    std::string us, ac;
    for (int i = 0; i < users; ++i) {
        const std::string number = std::to_string(20000000 + (i % 17 == 16 ? i - 1 : i));
        const char* type = i % 13 == 5 ? "XX" : (i % 17 == 16 ? "cc" : "CC");
        us += std::string(type) + "," + number +
              ",EPS005,1,GOMEZ,PEREZ,CARLOS,ANDRES,45,1,M,76,001,U\r\n";
        const std::string seen = std::to_string(20000000 + (i * 7) % users);
        ac += "F" + std::to_string(10000 + i) + ",760010012301,CC," + seen +
              ",15/11/2026,,890201,10,13,J069,,,,1,35000,3500,31500\r\n";
    }
    const std::string head = "760010012301,01/11/2026,";
    std::ofstream(inst.delivery / "CT000001.txt", std::ios::binary)
        << head << "US000001," << users << "\r\n"
        << head << "AC000001," << users << "\r\n";
    std::ofstream(inst.delivery / "US000001.txt", std::ios::binary) << us;
    std::ofstream(inst.delivery / "AC000001.txt", std::ios::binary) << ac;
}

// Validates the installation's delivery the given way, after `prepare` changed the installation.
Outcome validate(const Way& way, const std::function<void(testing::Installation&)>& prepare) {
    testing::Installation inst{testing::Sample{}};
    prepare(inst);
    testing::ScriptedUi ui;
    testing::FixedClock clock({2026, 12, 6});
    Program program(ui, clock);
    EXPECT_TRUE(program.start(inst.config).ok());
    program.uncached = way.uncached;
    program.threads = way.threads;
    EXPECT_EQ(run_validation(program, inst.delivery).ending(), Ending::Done);

    Outcome out;
    for (const auto& e : std::filesystem::directory_iterator(inst.results()))
        out[e.path().filename().string()] = testing::read_file(e.path());
    for (const auto& t : file_types())
        for (const auto& row : inst.rows(std::string("SELECT * FROM ") + t.table))
            out[t.table] += row + "\n";
    for (const auto& row : inst.rows("SELECT * FROM ERRORES")) out["ERRORES"] += row + "\n";
    for (const auto& m : ui.messages) out["mensajes"] += m.title + ": " + m.text + "\n";
    for (size_t row = 0; row < program.delivery.records.size(); ++row) {
        if (!program.delivery.records[row].validated) continue;
        const FileCounts& counts = *program.delivery.records[row].validated;
        std::string& c = out["cuentas " + std::to_string(row)];
        c = std::to_string(counts.lines_read) + " " + std::to_string(counts.lines_passed);
        for (double v : counts.counters) c += " " + number_text(v);
    }
    return out;
}

void expect_same(const Outcome& expected, const Outcome& got) {
    ASSERT_EQ(expected.size(), got.size());
    for (const auto& [name, content] : expected) {
        auto it = got.find(name);
        ASSERT_NE(it, got.end()) << name;
        EXPECT_EQ(content, it->second) << name;
    }
}

// A trigger that makes the insert of one row of `table` fail.
std::function<void(testing::Installation&)> failing_row(int users, const std::string& table,
                                                        const std::string& condition) {
    return [=](testing::Installation& inst) {
        write_large_delivery(inst, users);
        inst.fail_inserts(table, condition);
    };
}

TEST(RunIdentity, SampleDeliveryGivesTheSameResultsEveryWay) {
    auto nothing = [](testing::Installation&) {};
    const Outcome one = validate({}, nothing);
    EXPECT_GT(one.size(), 20u);
    EXPECT_NE(one.at("consulta"), "");  // the sample stores consultations
    expect_same(one, validate({.uncached = true}, nothing));
    expect_same(one, validate({.threads = 2}, nothing));
}

TEST(RunIdentity, AWriterBehindTheValidatorEndsAFailingFileWhereOneThreadWould) {
    // Several batches of rows are in flight when the users' row fails; the consultations then
    // meet only the users stored before it.
    const auto users_fail = failing_row(6000, "usuario", "NEW.numero_identificacion = '20003500'");
    const Outcome one = validate({}, users_fail);
    EXPECT_NE(one.at("mensajes")
                  .find("Error: Se presento el Error # " +
                        number_text(testing::Installation::failing_insert_number()) +
                        " al leer archivo de Usuarios \r\rfalla"),
              std::string::npos)
        << one.at("mensajes");
    expect_same(one, validate({.threads = 2}, users_fail));

    // The last row of a file fails: the writer finds it only once every line was read.
    const auto last_fails = failing_row(3000, "consulta", "NEW.num_factura = 'F12999'");
    expect_same(validate({}, last_fails), validate({.threads = 2}, last_fails));
}

}  // namespace
}  // namespace corvela
