// Moving an installation's saved history to a server: every table whole, the same reports on both
// sides, the numbering going on from the moved one; a second move refused with nothing changed.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "db/server_database.h"
#include "support/command.h"

namespace corvela {
namespace {

using testing::Installation;

struct Command {
    int status;
    std::string output;
};

// The command line on an installation's configuration.
Command corvela(const Installation& inst, const std::string& args) {
    const int status = testing::run_corvela(inst, args, inst.dir / "salida.txt");
    return {status, testing::read_file(inst.dir / "salida.txt")};
}

TEST(Migration, TheSavedHistoryMovesWholeOnceAndTheNumbersGoOn) {
    if (!Installation::on_server()) GTEST_SKIP() << "moving a history needs the test server";
    Installation local{testing::Sample{}, testing::Embedded{}};
    Installation server{testing::Sample{}};
    const std::string validate =
        "validate '" + local.delivery.string() + "' --today 2026-12-06 --yes";
    ASSERT_EQ(corvela(local, validate).status, 0);
    ASSERT_EQ(corvela(local, "save --remitente R --periodo 202611").status, 0);
    std::ofstream(local.dir / "clave") << "clave-de-ana\n";
    ASSERT_EQ(corvela(local, "usuarios add ana < '" + (local.dir / "clave").string() + "'").status,
              0);
    const std::string move = "migrate --to-server '" + server.server() + "'";

    const Command moved = corvela(local, move);
    ASSERT_EQ(moved.status, 0) << moved.output;
    // The web service's accounts name this installation's desk: they stay, and it is said.
    EXPECT_NE(moved.output.find("las cuentas del servicio web (1) no se copian"),
              std::string::npos);
    EXPECT_EQ(server.rows("SELECT nombre FROM cuentas_web"), std::vector<std::string>{});
    std::istringstream lines(moved.output);
    std::string line, table;
    long long here = 0, there = 0;
    std::getline(lines, line);  // the heading
    int tables = 0;
    while (lines >> table >> here >> there) {
        EXPECT_EQ(here, there) << table;
        ++tables;
    }
    EXPECT_EQ(tables, 32);
    for (const std::string report :
         {"deliveries", "report summary --ips 'IPS Salud Valle Sede Norte' --delivery '000001/ 1'",
          "report inconsistencies --ips 'IPS Salud Valle Sede Norte' --delivery '000001/ 1'"})
        EXPECT_EQ(corvela(server, report).output, corvela(local, report).output) << report;

    // A second move is refused and changes nothing.
    const std::string before = corvela(server, "deliveries").output;
    const Command again = corvela(local, move);
    EXPECT_EQ(again.status, 1);
    EXPECT_EQ(again.output, "El servidor ya tiene entregas guardadas; no se copió nada.\n");
    EXPECT_EQ(corvela(server, "deliveries").output, before);
    EXPECT_EQ(server.rows("SELECT count(*) FROM f_usuario"), local.rows("SELECT count(*) FROM "
                                                                        "f_usuario"));

    // The server's next delivery takes the number after the moved one.
    ASSERT_EQ(
        corvela(server, "validate '" + server.delivery.string() + "' --today 2026-12-06 --yes")
            .status,
        0);
    const std::string saved = corvela(server, "save --remitente R --periodo 202611").output;
    EXPECT_NE(saved.find("\nRadicación interna No. 2\n"), std::string::npos) << saved;
}

TEST(Migration, RefusedWhileADeskSavesAndForAHistoryHoldingNul) {
    if (!Installation::on_server()) GTEST_SKIP() << "moving a history needs the test server";
    using namespace std::string_literals;
    Installation local{testing::Sample{}, testing::Embedded{}};
    Installation server{testing::Sample{}};
    testing::run_sql(local.work(), "INSERT INTO f_usuario (primer_apellido) VALUES (?)",
                     "GO\0MEZ"s);
    const std::string move = "migrate --to-server '" + server.server() + "'";
    {
        // A desk's save holds the server-wide lock shared.
        auto desk = open_server(server.server(), ServerSchema::Working);
        ASSERT_TRUE(desk->try_lock(Database::Lock::SharedRows));
        const Command busy = corvela(local, move);
        EXPECT_EQ(busy.status, 1);
        EXPECT_EQ(busy.output.rfind("[Base de datos ocupada]\n", 0), 0u) << busy.output;
    }
    const Command cut = corvela(local, move);
    EXPECT_EQ(cut.status, 1);
    EXPECT_EQ(
        cut.output,
        "No se copió nada al servidor: El servidor no puede guardar el carácter NUL (código "
        "0) que hay en la columna primer_apellido de la fila 1 (rowid) de la tabla f_usuario: sus "
        "textos no lo admiten.\n");
    EXPECT_EQ(server.rows("SELECT count(*) FROM f_usuario"), std::vector<std::string>{"0"});
}

}  // namespace
}  // namespace corvela
