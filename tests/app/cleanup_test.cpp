// Removing stored data: "Limpiar DB" and its two questions, the deletion of one saved radicación,
// leaving the program, and the copy of both databases.
#include "app/cleanup.h"

#include <gtest/gtest.h>

#include "reports/delivery_report.h"
#include "support/session.h"

namespace corvela::testing {
namespace {

class CleanupTest : public SessionTest {
  protected:
    std::string final_rows() { return sizes("f_usuario f_descripcion f_transacciones"); }
};

TEST_F(CleanupTest, LimpiarEmptiesFinalAndMonthTablesOnlyAfterTwoYesAnswers) {
    saved("000001", true);
    inst.work().exec(
        "INSERT INTO fechas VALUES (10, 2026); INSERT INTO periodos VALUES ('x', 'y', 1, 2026)");
    for (auto answers : {std::deque<bool>{false}, std::deque<bool>{true, false}}) {
        ui.questions.clear();
        ui.answers = answers;
        EXPECT_EQ(empty_final_tables(*program).ending(), Ending::Stopped);
        EXPECT_EQ(ui.questions.size(), answers.size());
        EXPECT_EQ(final_rows() + " " + sizes("fechas"), "2 1 1 1");
    }
    EXPECT_EQ(ui.questions.front(),
              "Borrando registros.|Uste esta a punto de borrar los registros correctos que estan "
              "almacenados.\r\rDesea borrarlos realmente?.");
    EXPECT_EQ(ui.questions.back(), "Borrando registros.|ESTA SEGURO DE BORRAR LOS DATOS.?");
    EXPECT_TRUE(ui.messages.empty());

    ui.answers = {true, true};
    EXPECT_EQ(empty_final_tables(*program).ending(), Ending::Done);
    EXPECT_EQ(final_rows(), "0 0 0");
    EXPECT_EQ(sizes("fechas periodos registros radicacion ERRORES usuario"), "0 0 2 1 2 2");
    EXPECT_EQ(inst.number("SELECT numero FROM consecutivo"), 1);
    ASSERT_EQ(ui.titles(), std::vector<std::string>{"Limpando Base de datos."});
    EXPECT_EQ(ui.messages[0].text, "Finalizo Proceso");
}

// The question, the deletion and what it leaves are checked through the command line's `delete`.
TEST_F(CleanupTest, ARadicacionWithoutItsInvoicesIsNotStoredAndNothingIsDeleted) {
    saved("000001", true);
    saved("000002", true);
    ASSERT_EQ(delivery_entries(inst.work(), kIps, DeliveryKey::EapbSede),
              (std::vector<std::string>{"000001/ 1", "000002/ 2"}));
    // Its users are still in the final table, but no question is asked.
    inst.work().exec("DELETE FROM f_transacciones WHERE num_factura = 'FE000002'");
    ui.answers = {true};
    EXPECT_EQ(delete_delivery(*program, kIps, "000002/ 2").ending(), Ending::Stopped);
    EXPECT_TRUE(ui.questions.empty());
    ASSERT_EQ(ui.titles(), std::vector<std::string>{"Proceso finalizado"});
    EXPECT_EQ(ui.messages[0].text,
              "No existe registros almacenados con la radicación interna No.  2");
    EXPECT_EQ(final_rows(), "4 2 1");
    EXPECT_EQ(inst.number("SELECT max(IMPRESION) FROM registros"), 0);
}

TEST_F(CleanupTest, LeavingEmptiesTheWorkingTablesAndForgetsTheRun) {
    validated("000001");
    program->store_run_state();
    ui.answers = {true};  // leave the run not saved all the same
    EXPECT_TRUE(leave_program(*program));
    EXPECT_EQ(program->work, nullptr);
    EXPECT_EQ(sizes("usuario descripcion ERRORES"), "0 0 0");
    EXPECT_EQ(inst.rows("SELECT valor FROM estado_corrida WHERE clave = 'estado'"),
              std::vector<std::string>{"I"});
}

TEST_F(CleanupTest, BackupCopiesBothDatabasesOnce) {
    saved("000001", true);
    auto folder = inst.dir / "copia" / "hoy";
    if (testing::Installation::on_server()) {
        // A server's database is copied with the server's own tool.
        EXPECT_EQ(backup(*program, folder).why(),
                  "Una instalación en servidor se respalda con pg_dump.");
    } else {
        EXPECT_TRUE(backup(*program, folder).ok());
        EXPECT_EQ(backup(*program, folder).ending(), Ending::Failed);
        auto work = Database::open_existing((folder / "registros_ips.db").string());
        EXPECT_EQ(work->count("SELECT * FROM f_usuario"), 2);
        auto ref = Database::open_existing((folder / "Ref_rips.db").string());
        EXPECT_GT(ref->count("SELECT * FROM R_Campos"), 100);
    }
    compact(*program->work);
    EXPECT_EQ(count("SELECT * FROM f_usuario"), 2);
}

}  // namespace
}  // namespace corvela::testing
