// A server set up and used as an office's administrator would: its database checked, no
// password kept, an `init` stopped half-way leaving nothing, saves and transactions that never
// wait without end, a restarted server found again, and locks that never collide.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <thread>

#include "app/program.h"
#include "app/save.h"
#include "db/server_database.h"
#include "db/server_desks.h"
#include "reports/delivery_report.h"
#include "support/session.h"

namespace corvela {
namespace {

using testing::Installation;
using testing::read_file;

// A connection text of the test server naming another database.
std::string on_database(const std::string& connection, const std::string& name) {
    return connection.substr(0, connection.rfind("dbname=")) + "dbname=" + name;
}

class ServerSetUp : public testing::SessionTest {
  protected:
    void SetUp() override {
        if (!Installation::on_server()) GTEST_SKIP() << "needs the test server";
    }
    void TearDown() override {
        for (const auto& name : made_) admin()->exec("DROP DATABASE " + name + " WITH (FORCE)");
    }
    std::unique_ptr<Database> admin() {
        return open_server(on_database(inst.server(), "postgres"), ServerSchema::Working);
    }
    // A new database of the test server made with `options`: its connection text.
    std::string database(const std::string& suffix, const std::string& options) {
        const std::string server = inst.server() + suffix;
        made_.push_back(server.substr(server.rfind('=') + 1));
        admin()->exec("CREATE DATABASE " + made_.back() + " TEMPLATE template0 " + options);
        return server;
    }
    // `corvela init` of a folder of its own on `server`, with the fault point when given.
    int init(const std::string& server, const std::string& fault = "") {
        return run_corvela(inst,
                           "init '" + (inst.dir / "otra").string() + "' --server '" + server + "'",
                           inst.dir / "out.txt", "", fault);
    }
    // Start-up of a program on the configuration whose lines after the first are `lines`.
    bool start_with(const std::string& lines) {
        std::ofstream(inst.config, std::ios::binary)
            << (inst.dir / "db").string() << "/," << inst.results_root.string() << "\r\n"
            << lines;
        program = std::make_unique<Program>(ui, clock);
        ui.messages.clear();
        return program->start(inst.config).ok();
    }

    std::vector<std::string> made_;
};

TEST_F(ServerSetUp, ADatabaseOfAnotherEncodingOrLocaleOrInUseIsRefusedNamingWhatWasFound) {
    const struct {
        const char *options, *found;
    } cases[] = {
        {"ENCODING 'LATIN1' LC_COLLATE 'C' LC_CTYPE 'C'", "codificación LATIN1, el proveedor"},
        {"ENCODING 'UTF8' LC_COLLATE 'C.UTF-8' LC_CTYPE 'C.UTF-8'",
         "orden (LC_COLLATE) C.UTF-8 y el tipo de caracteres (LC_CTYPE) C.UTF-8"},
        {"ENCODING 'UTF8' LOCALE_PROVIDER icu ICU_LOCALE 'und' LC_COLLATE 'C' LC_CTYPE 'C'",
         "proveedor de configuración regional icu"},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.options);
        const std::string server = database("_l" + std::to_string(++n), c.options);
        EXPECT_EQ(init(server), 2);
        EXPECT_NE(output().find(c.found), std::string::npos) << output();
        EXPECT_NE(output().find(kCreatedbLine), std::string::npos) << output();
    }
    // Start-up refuses it too.
    EXPECT_FALSE(start_with("servidor=" + on_database(inst.server(), made_[0]) + "\r\n"));
    EXPECT_NE(ui.messages.at(0).text.find("codificación LATIN1"), std::string::npos);
    // A server that holds an installation is refused, the configuration left as it is.
    const std::string config = read_file(inst.config);
    EXPECT_EQ(init(inst.server()), 2);
    EXPECT_EQ(output(), "El servidor ya tiene las tablas de Corvela; no se sobrescriben.\n");
    EXPECT_EQ(read_file(inst.config), config);
}

TEST_F(ServerSetUp, APasswordIsNeverWrittenAndTheConfigurationIsItsOwnersAlone) {
    for (const std::string& server :
         {inst.server() + " password=secreto",
          "postgresql://postgres:secreto@/x?host=" + std::string(CORVELA_TEST_SERVER_DIR)}) {
        std::filesystem::remove(inst.config);
        EXPECT_EQ(init(server), 2) << server;
        EXPECT_EQ(output(), std::string(kPasswordText) + "\n");
        EXPECT_FALSE(std::filesystem::exists(inst.config));
    }
    // Killed half-way, `init` leaves nothing; run again, it works.
    const std::string server = database("_i", "ENCODING 'UTF8' LC_COLLATE 'C' LC_CTYPE 'C'");
    EXPECT_EQ(init(server, "init:referencia"), 137);
    EXPECT_EQ(open_server(server, ServerSchema::Working)
                  ->count("SELECT 1 FROM pg_namespace WHERE nspname LIKE 'puesto%' OR nspname "
                          "IN ('corvela', 'referencia')"),
              0);
    std::filesystem::remove(inst.config);
    EXPECT_EQ(init(server), 0) << output();
    EXPECT_EQ(std::filesystem::status(inst.config).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
}

// A configuration file naming another installation is left as it is; `init` prints the lines it
// must hold for the new one, its first naming the new folder, so that the server never stands
// under the folder of an embedded history.
TEST_F(ServerSetUp, InitBesideAConfigurationPrintsTheLinesItsFileMustHold) {
    const std::string before = read_file(inst.config);
    const std::string server = database("_c", "ENCODING 'UTF8' LC_COLLATE 'C' LC_CTYPE 'C'");
    EXPECT_EQ(init(server), 0) << output();
    const std::string otra = (inst.dir / "otra").string();
    EXPECT_NE(output().find(" ya existe y no se cambió: sigue nombrando la carpeta " +
                            (inst.dir / "db").string() + "/.\n"),
              std::string::npos)
        << output();
    EXPECT_NE(output().find("\n" + otra + "/," + otra + "\nservidor=" + server + "\n"),
              std::string::npos)
        << output();
    EXPECT_EQ(read_file(inst.config), before);
}

TEST_F(ServerSetUp, AWrongOrUnreachableServerIsNamedAtStartUp) {
    const std::string empty = database("_v", "ENCODING 'UTF8' LC_COLLATE 'C' LC_CTYPE 'C'");
    EXPECT_FALSE(start_with("servidor=" + empty + "\r\n"));
    EXPECT_EQ(ui.messages.at(0).text,
              "Se presento el Error #  0 al leer archivo de Configuración \r\rLa base de datos del "
              "servidor no tiene las tablas de Corvela: créelas con corvela init CARPETA "
              "--server '" +
                  empty + "'.");
    EXPECT_FALSE(start_with("servidor=\r\n"));
    EXPECT_EQ(ui.messages.at(0).text,
              "Se presento el Error #  5 al leer archivo de Configuración \r\rLa línea "
              "\"servidor=\" no es válida: le falta la conexión al servidor (quítela para usar las "
              "bases de datos de la carpeta).");
    // A server that cannot be reached: the client's own text says why.
    EXPECT_FALSE(start_with("servidor=host=/nonexistent-corvela dbname=corvela\r\n"));
    EXPECT_EQ(ui.messages.at(0).text.rfind("Se presento el Error #  0 al leer", 0), 0u);
    EXPECT_NE(ui.messages.at(0).text.find("/nonexistent-corvela"), std::string::npos);
}

TEST_F(ServerSetUp, ASaveBehindAHeldNumberRowGivesUpAndAnIdleTransactionIsEnded) {
    ASSERT_TRUE(start_with(inst.server_line() + "espera_numero=1\r\nespera_inactiva=1\r\n"));
    validated("000001");
    // Another desk's save holds the number row (the server ends its transaction after 5 s).
    auto other = open_server(inst.server(), ServerSchema::Working, "principal", {120, 5});
    Transaction held(*other);
    Statement row = other->prepare("SELECT numero FROM consecutivo FOR UPDATE");
    ASSERT_TRUE(row.step());
    EXPECT_EQ(save_delivery(*program).ending(), Ending::Stopped);
    ASSERT_NE(shown("Base de datos ocupada"), nullptr);
    EXPECT_EQ(sizes("radicacion f_usuario"), "0 0");
    // This desk's own transaction left waiting is ended by the server.
    Transaction waiting(*program->work);
    std::this_thread::sleep_for(std::chrono::milliseconds(2500));
    EXPECT_THROW(program->work->count("SELECT 1"), DatabaseFailure);
}

TEST_F(ServerSetUp, AServerLostBetweenTwoOperationsIsFoundAgain) {
    saved("000001");
    const auto lose_connections = [&] {
        inst.work().exec(
            "SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE datname = "
            "current_database() AND pid <> pg_backend_pid()");
    };
    const std::string name = inst.server().substr(inst.server().rfind('=') + 1);
    ASSERT_TRUE(reports_available(*program).ok());
    lose_connections();
    EXPECT_TRUE(reports_available(*program).ok());
    EXPECT_TRUE(ui.messages.empty()) << ui.messages.at(0).text;
    // Still away: the start-up message, and the program stays usable.
    admin()->exec("ALTER DATABASE " + name + " ALLOW_CONNECTIONS false");
    lose_connections();
    EXPECT_FALSE(reports_available(*program).ok());
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text.rfind(
                  "Se presento el Error #  0 al leer archivo de Configuración \r\r", 0),
              0u);
    admin()->exec("ALTER DATABASE " + name + " ALLOW_CONNECTIONS true");
    EXPECT_EQ(run().ending(), Ending::Done);
}

TEST_F(ServerSetUp, TwoDesksNeverShareALock) {
    // Two desk names whose 32-bit text hashes are the same.
    Statement pair = inst.work().prepare(
        "SELECT min(n), max(n) FROM (SELECT 'd' || g AS n FROM generate_series(1, 300000) g) s "
        "GROUP BY hashtext('corvela:puesto_' || n) HAVING count(*) > 1 LIMIT 1");
    ASSERT_TRUE(pair.step());
    const std::string a = pair.text(0), b = pair.text(1);
    for (const auto& desk : {a, b})
        add_desk(*open_server(inst.server(), ServerSchema::Working, desk), desk);
    auto first = open_server(inst.server(), ServerSchema::Working, a);
    auto second = open_server(inst.server(), ServerSchema::Working, b);
    ASSERT_TRUE(first->try_lock(Database::Lock::Desk));
    EXPECT_TRUE(second->try_lock(Database::Lock::Desk));
    EXPECT_TRUE(second->try_lock(Database::Lock::AllSharedRows));
    EXPECT_FALSE(first->try_lock(Database::Lock::SharedRows));
}

}  // namespace
}  // namespace corvela
