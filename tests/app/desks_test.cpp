// Several desks on one server: runs and saves at once, each saved delivery with a number of its
// own, no desk touching another's unsaved rows, a save killed half-way leaving nothing, and the
// server-wide lock refusing what would change shared rows meanwhile.
#include <gtest/gtest.h>

#include <fstream>
#include <set>

#include "db/schema.h"
#include "db/server_database.h"
#include "db/server_desks.h"
#include "support/command.h"

namespace corvela {
namespace {

using testing::Installation;

class Desks : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!Installation::on_server()) GTEST_SKIP() << "desks need the test server";
        server_ = std::make_unique<Installation>(testing::Sample{});
    }

    // A desk of the server, with a folder of its own (lock, results, configuration) and a copy of
    // the sample delivery.
    std::filesystem::path add_desk(const std::string& name) {
        const auto dir = server_->dir / name;
        std::filesystem::create_directories(dir);
        std::filesystem::copy(server_->delivery, dir / "entrega");
        EXPECT_EQ(run(dir, "init '" + (dir / "db").string() + "' --results '" + dir.string() +
                               "' --server '" + server_->server() + "' --desk " + name),
                  0)
            << output(dir);
        return dir;
    }
    // The command line of a desk; its output is in `output(dir)`.
    static int run(const std::filesystem::path& dir, const std::string& args) {
        return testing::run_corvela(dir / "ripsips.ini", args, dir / "salida.txt");
    }
    // Runs the commands at once, one a desk; their exit statuses.
    static std::vector<int> at_once(
        const std::vector<std::pair<std::filesystem::path, std::string>>& runs,
        const std::string& fault_of_first = "") {
        std::vector<testing::Started> started;
        for (const auto& [dir, args] : runs)
            started.push_back({dir / "ripsips.ini", args, dir / "salida.txt"});
        return testing::run_together(started, fault_of_first);
    }
    static std::string output(const std::filesystem::path& dir) {
        return testing::read_file(dir / "salida.txt");
    }
    std::vector<std::string> rows(const std::string& sql) { return server_->rows(sql); }
    static std::string validate(const std::filesystem::path& dir) {
        return "validate '" + (dir / "entrega").string() + "' --today 2026-12-06 --yes";
    }

    std::unique_ptr<Installation> server_;
};

TEST_F(Desks, ThreeDesksAtOnceEachSavedDeliveryNumberedAndNoUnsavedRowTouched) {
    const auto caja1 = add_desk("caja1"), caja2 = add_desk("caja2"), caja3 = add_desk("caja3");
    // The third desk validates only, while the two others validate and save.
    EXPECT_EQ(at_once({{caja1, validate(caja1) + " --save"},
                       {caja2, validate(caja2) + " --save"},
                       {caja3, validate(caja3)}}),
              (std::vector<int>{0, 0, 0}))
        << output(caja1) << output(caja2) << output(caja3);
    EXPECT_EQ(rows("SELECT nro_radicacion FROM radicacion ORDER BY nro_radicacion"),
              (std::vector<std::string>{"1", "2"}));
    EXPECT_EQ(rows("SELECT count(DISTINCT num_radicacion), count(*) FROM f_usuario"),
              std::vector<std::string>{"2|8"});
    EXPECT_EQ(rows("SELECT count(*) FROM corvela.ERRORES WHERE nro_radicacion IN (1, 2)"),
              std::vector<std::string>{"20"});
    // The unsaved run of the third desk is whole: its users, and its ten error rows at 0.
    EXPECT_EQ(rows("SELECT count(*) FROM puesto_caja3.usuario WHERE num_radicacion = 0"),
              std::vector<std::string>{"4"});
    EXPECT_EQ(rows("SELECT count(*) FROM puesto_caja3.ERRORES WHERE nro_radicacion = 0"),
              std::vector<std::string>{"10"});
}

TEST_F(Desks, ASaveKilledHalfWayLeavesNothingWhileAnotherDesksSaveIsWhole) {
    const auto caja1 = add_desk("caja1"), caja2 = add_desk("caja2");
    ASSERT_EQ(run(caja1, validate(caja1)), 0);
    ASSERT_EQ(run(caja2, validate(caja2)), 0);
    EXPECT_EQ(at_once({{caja1, "save"}, {caja2, "save"}}, "save:copia"),
              (std::vector<int>{137, 0}));
    EXPECT_EQ(rows("SELECT count(*), min(nro_radicacion) FROM radicacion"),
              std::vector<std::string>{"1|1"});
    EXPECT_EQ(rows("SELECT count(*) FROM f_usuario"), std::vector<std::string>{"4"});
    EXPECT_EQ(rows("SELECT count(*) FROM corvela.ERRORES"), std::vector<std::string>{"10"});
    // The killed desk's next save works and takes the next number.
    EXPECT_EQ(run(caja1, "save"), 0);
    EXPECT_NE(output(caja1).find("Radicación interna No. 2"), std::string::npos) << output(caja1);
    EXPECT_EQ(rows("SELECT count(*) FROM f_usuario"), std::vector<std::string>{"8"});
}

TEST_F(Desks, TheServerWideLockRefusesChangesToSharedRowsButNotARun) {
    const auto caja1 = add_desk("caja1"), caja2 = add_desk("caja2");
    ASSERT_EQ(run(caja1, validate(caja1) + " --save"), 0);
    // Another desk's deletion holds the server-wide lock alone.
    auto holder = open_server(server_->server(), ServerSchema::Working, "caja2");
    ASSERT_TRUE(holder->try_lock(Database::Lock::AllSharedRows));
    const std::string busy = "[Base de datos ocupada]";
    // A run that does not save takes no server-wide lock.
    EXPECT_EQ(run(caja2, validate(caja2)), 0) << output(caja2);
    EXPECT_EQ(run(caja2, "save"), 1);
    EXPECT_NE(output(caja2).find(busy), std::string::npos) << output(caja2);
    EXPECT_EQ(run(caja2, "clean --yes"), 1);
    EXPECT_NE(output(caja2).find(busy), std::string::npos) << output(caja2);
    EXPECT_EQ(rows("SELECT count(*) FROM f_usuario"), std::vector<std::string>{"4"});
    // A second folder of the same desk cannot run while the desk's lock is held elsewhere.
    holder->unlock(Database::Lock::AllSharedRows);
    ASSERT_TRUE(holder->try_lock(Database::Lock::Desk));
    EXPECT_EQ(run(caja2, "validate '" + (caja2 / "entrega").string() + "' --no"), 1);
    EXPECT_NE(output(caja2).find(busy), std::string::npos) << output(caja2);
}

TEST_F(Desks, ADeskIsMadeOnceAndAServerBeforeDesksMovesIntoPrincipal) {
    const auto caja1 = add_desk("caja1");
    EXPECT_EQ(run(caja1, "init '" + (caja1 / "otra").string() + "' --server '" + server_->server() +
                             "' --desk caja1"),
              2);
    EXPECT_NE(output(caja1).find("El puesto ya existe."), std::string::npos) << output(caja1);
    // A configuration naming a desk the server does not have stops start-up, saying so.
    std::ofstream(caja1 / "ripsips.ini", std::ios::binary | std::ios::app) << "puesto=nadie\r\n";
    EXPECT_EQ(run(caja1, "sedes list"), 2);
    EXPECT_NE(output(caja1).find("El puesto nadie no existe en el servidor"), std::string::npos)
        << output(caja1);

    // A server made before desks: every table in the shared schema, an unsaved run among them.
    const std::string old_server = server_->server() + "_antes";
    auto admin = open_server(server_->server(), ServerSchema::Working);
    const std::string name = old_server.substr(old_server.rfind('=') + 1);
    admin->exec("CREATE DATABASE " + name + " TEMPLATE template0 LC_COLLATE 'C' LC_CTYPE 'C'");
    {
        auto old = open_server(old_server, ServerSchema::Working);
        create_server_objects(*old);
        create_working_schema(*old);
        old->exec("INSERT INTO ERRORES (nro_radicacion, tipo) VALUES (0, 'US'), (7, 'US')");
        old->exec("INSERT INTO usuario (numero_identificacion) VALUES ('1')");
    }
    const auto caja9 = server_->dir / "caja9";
    std::filesystem::create_directories(caja9);
    EXPECT_EQ(run(caja9, "init '" + (caja9 / "db").string() + "' --server '" + old_server +
                             "' --desk caja9"),
              0)
        << output(caja9);
    {
        auto principal = open_server(old_server, ServerSchema::Working, "principal");
        auto count = [&](const std::string& sql) { return principal->count(sql); };
        EXPECT_EQ(count("SELECT 1 FROM puesto_principal.usuario"), 1);
        EXPECT_EQ(count("SELECT 1 FROM puesto_principal.ERRORES WHERE nro_radicacion = 0"), 1);
        EXPECT_EQ(count("SELECT 1 FROM corvela.ERRORES"), 1);
        EXPECT_EQ(count("SELECT 1 FROM puesto_caja9.estado_corrida"), 0);
        EXPECT_EQ(count("SELECT 1 FROM pg_tables WHERE schemaname = 'corvela' AND tablename = "
                        "'usuario'"),
                  0);
    }
    admin->exec("DROP DATABASE " + name + " WITH (FORCE)");
}

}  // namespace
}  // namespace corvela
