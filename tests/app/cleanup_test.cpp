// Removing stored data: "Limpiar DB" and its two questions, the deletion of one saved radicación,
// leaving the program, and the copy of both databases.
#include "app/cleanup.h"

#include <gtest/gtest.h>

#include "app/delivery_session.h"
#include "reports/informe.h"

namespace corvela::testing {
namespace {

class CleanupTest : public ::testing::Test {
  protected:
    DeliverySession s;

    // Validates and saves a delivery with one invoice of the site, so that it can be deleted.
    void saved(const std::string& remission) {
        s.write_delivery(remission);
        ASSERT_EQ(s.run(), RunOutcome::Summary);
        SQLite::Statement invoice(
            s.inst.work().db(),
            "INSERT INTO transacciones (COD_IPS, num_factura, num_radicacion) VALUES (?, ?, 0)");
        invoice.bind(1, kIps);
        invoice.bind(2, "FE" + remission);
        invoice.exec();
        ASSERT_EQ(Cmdgraba_Click(*s.program), Outcome::Done);
        s.ui.messages.clear();
        s.ui.questions.clear();
    }
    long long final_rows() {
        long long n = 0;
        for (const char* t : {"f_usuario", "f_descripcion", "f_transacciones"})
            n += s.count(std::string("SELECT * FROM ") + t);
        return n;
    }
};

TEST_F(CleanupTest, LimpiarAnsweredNoToEitherQuestionDeletesNothing) {
    saved("000001");
    s.inst.work().exec("INSERT INTO fechas VALUES (10, 2026)");
    const long long before = final_rows();
    ASSERT_EQ(before, 4);
    for (auto answers : {std::deque<bool>{false}, std::deque<bool>{true, false}}) {
        s.ui.questions.clear();
        s.ui.answers = answers;
        EXPECT_EQ(CmdLimpiar_Click(*s.program), Outcome::Stopped);
        EXPECT_EQ(s.ui.questions.size(), answers.size());
        EXPECT_EQ(final_rows(), before);
        EXPECT_EQ(s.count("SELECT * FROM fechas"), 1);
    }
    EXPECT_EQ(s.ui.questions.front(),
              "Borrando registros.|Uste esta a punto de borrar los registros correctos que estan "
              "almacenados.\r\rDesea borrarlos realmente?.");
    EXPECT_EQ(s.ui.questions.back(), "Borrando registros.|ESTA SEGURO DE BORRAR LOS DATOS.?");
    EXPECT_TRUE(s.ui.messages.empty());
}

TEST_F(CleanupTest, LimpiarEmptiesFinalAndMonthTablesOnly) {
    saved("000001");
    s.inst.work().exec(
        "INSERT INTO fechas VALUES (10, 2026); INSERT INTO periodos VALUES ('x', 'y', 1, 2026)");
    s.ui.answers = {true, true};
    EXPECT_EQ(CmdLimpiar_Click(*s.program), Outcome::Done);
    EXPECT_EQ(final_rows(), 0);
    EXPECT_EQ(s.count("SELECT * FROM fechas"), 0);
    EXPECT_EQ(s.count("SELECT * FROM periodos"), 0);
    EXPECT_EQ(s.count("SELECT * FROM registros"), 2);
    EXPECT_EQ(s.count("SELECT * FROM radicacion"), 1);
    EXPECT_EQ(s.count("SELECT * FROM ERRORES"), 2);
    EXPECT_EQ(s.number("SELECT numero FROM consecutivo"), 1);
    EXPECT_EQ(s.count("SELECT * FROM usuario"), 2);
    ASSERT_EQ(s.ui.messages.size(), 1u);
    EXPECT_EQ(s.ui.messages[0].text, "Finalizo Proceso");
    EXPECT_EQ(s.ui.messages[0].title, "Limpando Base de datos.");
}

TEST_F(CleanupTest, DeletedDeliveryLeavesFinalTablesAndLists) {
    saved("000001");
    saved("000002");
    ASSERT_EQ(delivery_entries(s.inst.work(), kIps, DeliveryKey::EapbSede),
              (std::vector<std::string>{"000001/ 1", "000002/ 2"}));
    s.ui.answers = {true};
    EXPECT_EQ(CmdBorrar_Click(*s.program, kIps, "000001/ 1"), Outcome::Done);
    EXPECT_EQ(s.ui.questions,
              std::vector<std::string>{
                  "Borrar datos almacenados.|Desea borrar los datos almacenados de la "
                  "radicación interna No.  1"});
    ASSERT_EQ(s.ui.messages.size(), 1u);
    EXPECT_EQ(s.ui.messages[0].text,
              "Fueron borrados los registros almacenados con la radicación interna No.  1");
    EXPECT_EQ(s.ui.messages[0].title, "Proceso finalizado");

    EXPECT_EQ(s.rows("SELECT DISTINCT num_radicacion FROM f_usuario"),
              std::vector<std::string>{"2"});
    EXPECT_EQ(s.rows("SELECT DISTINCT num_radicacion FROM f_descripcion"),
              std::vector<std::string>{"2"});
    EXPECT_EQ(s.rows("SELECT num_factura FROM f_transacciones"),
              std::vector<std::string>{"FE000002"});
    EXPECT_EQ(s.rows("SELECT nro_radicacion, IMPRESION FROM registros ORDER BY rowid"),
              (std::vector<std::string>{"1|1", "1|1", "2|0", "2|0"}));
    EXPECT_EQ(s.count("SELECT * FROM radicacion"), 2);
    EXPECT_EQ(s.count("SELECT * FROM ERRORES WHERE nro_radicacion = 1"), 2);
    EXPECT_EQ(delivery_entries(s.inst.work(), kIps, DeliveryKey::EapbSede),
              std::vector<std::string>{"000002/ 2"});
    EXPECT_EQ(delivery_entries(s.inst.work(), kIps, DeliveryKey::Eapb),
              std::vector<std::string>{"000002/ 2"});
}

TEST_F(CleanupTest, DeleteAnsweredNoOrWithoutInvoicesKeepsEverything) {
    saved("000001");
    EXPECT_EQ(CmdBorrar_Click(*s.program, kIps, "000001/ 1"), Outcome::Stopped);
    EXPECT_EQ(s.ui.questions.size(), 1u);
    EXPECT_EQ(final_rows(), 4);
    EXPECT_EQ(s.number("SELECT max(IMPRESION) FROM registros"), 0);

    // Without its invoices in the final table the radicación counts as not stored, even though
    // its users are still there.
    s.inst.work().exec("DELETE FROM f_transacciones");
    s.ui.questions.clear();
    EXPECT_EQ(CmdBorrar_Click(*s.program, kIps, "000001/ 1"), Outcome::Stopped);
    EXPECT_TRUE(s.ui.questions.empty());
    ASSERT_EQ(s.ui.messages.size(), 1u);
    EXPECT_EQ(s.ui.messages[0].text,
              "No existe registros almacenados con la radicación interna No.  1");
    EXPECT_EQ(s.ui.messages[0].title, "Proceso finalizado");
    EXPECT_EQ(s.count("SELECT * FROM f_usuario"), 2);
}

TEST_F(CleanupTest, LeavingEmptiesTheWorkingTablesAndForgetsTheRun) {
    s.write_delivery("000001");
    ASSERT_EQ(s.run(), RunOutcome::Summary);
    s.program->store_run_state();
    Bsalir_Click(*s.program);
    EXPECT_EQ(s.program->work, nullptr);
    EXPECT_EQ(s.count("SELECT * FROM usuario"), 0);
    EXPECT_EQ(s.count("SELECT * FROM descripcion"), 0);
    EXPECT_EQ(s.count("SELECT * FROM ERRORES"), 0);
    EXPECT_EQ(s.rows("SELECT valor FROM estado_corrida WHERE clave = 'estado'"),
              std::vector<std::string>{"I"});
}

TEST_F(CleanupTest, BackupCopiesBothDatabasesOnce) {
    saved("000001");
    auto folder = s.inst.dir / "copia" / "hoy";
    EXPECT_EQ(backup(*s.program, folder), "");
    {
        auto work = Database::open_existing((folder / "registros_ips.db").string());
        EXPECT_EQ(work->count("SELECT * FROM f_usuario"), 2);
        auto ref = Database::open_existing((folder / "Ref_rips.db").string());
        EXPECT_GT(ref->count("SELECT * FROM R_Campos"), 100);
    }
    EXPECT_NE(backup(*s.program, folder), "");
    compact(*s.program->work);
    EXPECT_EQ(s.count("SELECT * FROM f_usuario"), 2);
}

}  // namespace
}  // namespace corvela::testing
