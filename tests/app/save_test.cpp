// Saving a validated delivery: the bookkeeping rows, the stamped and copied records, the refusals,
// and a failed save that leaves nothing behind.
#include "app/save.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "app/months.h"
#include "platform/text.h"
#include "support/session.h"

namespace corvela::testing {
namespace {

using SaveTest = SessionTest;

TEST_F(SaveTest, SavesBookkeepingRowsStampsAndCopiesOnce) {
    validated("000001");
    const DeliveryHeader h = program->delivery.header;
    DeliveryHeader blank_phone = h;
    blank_phone.telephone = " ";
    program->delivery.header = blank_phone;
    EXPECT_EQ(save_delivery(*program).ending(), Ending::Stopped);
    EXPECT_EQ(ui.messages.back().title, "Faltan algunos Datos.");
    EXPECT_EQ(
        ui.messages.back().text,
        "Por favor revise que no exista campos en blanco como nombre del remitente, dirección, "
        "teléfono y fax.");
    EXPECT_EQ(program->run_state, RunState::NotSaved);
    EXPECT_EQ(sizes("registros radicacion"), "0 0");

    ui.messages.clear();
    program->delivery.header = h;
    ASSERT_EQ(save_delivery(*program).ending(), Ending::Done);
    EXPECT_EQ(inst.rows("SELECT numero, fecha FROM consecutivo"),
              std::vector<std::string>{"1|2026-12-06"});
    EXPECT_EQ(
        inst.rows(
            "SELECT archivo, remitidos, leidos, pasaron, Errados, eapb, remitente, "
            "periodo_reportado, nro_remision, fecha_remision, suben, IMPRESION, nro_radicacion "
            "FROM registros ORDER BY rowid"),
        (std::vector<std::string>{
            "US|3|3|2|1|760010012301|ANA GÓMEZ|01/11/2026|000001|01/11/2026|2|0|1",
            "AD|1|1|1|0|760010012301|ANA GÓMEZ|01/11/2026|000001|01/11/2026|1|0|1"}));
    EXPECT_EQ(inst.rows("SELECT * FROM radicacion"),
              std::vector<std::string>{"1|760010012301|000001|2026-12-06|2026-11-01"});
    // Every working and final row carries the new number.
    EXPECT_EQ(inst.rows("SELECT (SELECT count(*) FROM usuario WHERE num_radicacion = 1), "
                        "(SELECT count(*) FROM f_usuario WHERE num_radicacion = 1), "
                        "(SELECT count(*) FROM f_descripcion WHERE num_radicacion = 1), "
                        "(SELECT group_concat(nro_radicacion) FROM ERRORES)"),
              std::vector<std::string>{"2|2|1|1,1"});
    EXPECT_EQ(program->run_state, RunState::Saved);
    EXPECT_EQ(program->delivery.radicacion, 1);
    EXPECT_EQ(program->delivery.header, DeliveryHeader{});
    ASSERT_EQ(ui.titles(), std::vector<std::string>{"Final de proceso."});
    EXPECT_EQ(ui.messages[0].text, "El proceso finalizó con exito.");
    EXPECT_EQ(ui.messages[0].icon, Icon::Information);

    // The emptied boxes stop the same button again; typed in again, the delivery is known to be
    // saved already.
    EXPECT_EQ(save_delivery(*program).ending(), Ending::Stopped);
    EXPECT_EQ(ui.messages.back().title, "Faltan algunos Datos.");
    program->delivery.header = h;
    EXPECT_EQ(save_delivery(*program).ending(), Ending::Stopped);
    EXPECT_EQ(ui.messages.back().text,
              "Los datos existentes en las tablas temporales ya fueron cargados.");
    EXPECT_EQ(inst.number("SELECT numero FROM consecutivo"), 1);
    EXPECT_EQ(sizes("registros radicacion f_usuario"), "2 1 2");
}

TEST_F(SaveTest, RunThatReadNothingSavesZeroCounts) {
    // An empty users file and a grouped-description file that is not in the folder: the run says
    // so in two boxes.
    write_delivery("000001", {}, {});
    std::filesystem::remove(inst.delivery / "AD000001.txt");
    ASSERT_EQ(run().ending(), Ending::Done);
    ASSERT_GE(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[ui.messages.size() - 2].text,
              "Leidos:  0\rPasaron: 0\rErrados: 0\r\rTiempo de proceso:  0 Minutos,  0 Segundos\r"
              "Tiempo de validación por Registro: 0.000 Segundos");
    EXPECT_EQ(ui.messages.back().title, "No existen registros para leer");
    ASSERT_EQ(program->run_state, RunState::NotSaved);
    ASSERT_EQ(save_delivery(*program).ending(), Ending::Done);
    EXPECT_EQ(inst.number("SELECT numero FROM consecutivo"), 1);
    EXPECT_EQ(
        inst.rows("SELECT archivo, remitidos, leidos, pasaron, Errados, suben, nro_radicacion "
                  "FROM registros ORDER BY rowid"),
        (std::vector<std::string>{"US|0|0|0|0|0|1", "AD|0|0|0|0|0|1"}));
    // The empty users file has its error row; the missing file, none.
    EXPECT_EQ(sizes("f_usuario f_descripcion radicacion ERRORES"), "0 0 1 1");
}

TEST_F(SaveTest, OneMonthInSeveralTablesGivesOnePeriodRow) {
    validated("000001");
    inst.work().exec(
        "INSERT INTO consulta (num_factura, fecha_consul, num_radicacion) VALUES "
        "('F1', '2026-10-03', 0), ('F2', '2026-10-20', 0), ('F3', '2026-09-30', 0);"
        "INSERT INTO procedimientos (num_factura, fecha, num_radicacion) VALUES ('F1', "
        "'2026-10-05', 0);"
        "INSERT INTO urgencias (num_factura, fecha_salida, num_radicacion) VALUES ('F4', "
        "'2026-10-07', 0);");
    show_reported_months(*program);
    ASSERT_EQ(count("SELECT * FROM fechas"), 4);
    ASSERT_EQ(save_delivery(*program).ending(), Ending::Done);
    EXPECT_EQ(
        inst.rows("SELECT * FROM periodos ORDER BY rowid"),
        (std::vector<std::string>{"760010012301|000001|9|2026", "760010012301|000001|10|2026"}));
    EXPECT_EQ(count("SELECT * FROM fechas"), 0);
    EXPECT_TRUE(ui.months.empty());
}

TEST_F(SaveTest, EarlierDeliveriesKeepTheirNumbers) {
    validated("000001");
    ASSERT_EQ(save_delivery(*program).ending(), Ending::Done);
    validated("000002");
    ASSERT_EQ(save_delivery(*program).ending(), Ending::Done);
    EXPECT_EQ(
        inst.rows("SELECT nro_radicacion, nro_remision, tipo FROM ERRORES ORDER BY rowid"),
        (std::vector<std::string>{"1|000001|US", "1|000001|AD", "2|000002|US", "2|000002|AD"}));
    EXPECT_EQ(inst.rows("SELECT num_radicacion, count(*) FROM f_usuario GROUP BY num_radicacion"),
              (std::vector<std::string>{"1|2", "2|2"}));
    EXPECT_EQ(count("SELECT * FROM usuario WHERE num_radicacion <> 2"), 0);
}

TEST_F(SaveTest, FailedSaveLeavesNothingAndCanBeRepeated) {
    validated("000001");
    const DeliveryHeader h = program->delivery.header;
    auto nothing_saved = [&] {
        EXPECT_EQ(inst.number("SELECT numero FROM consecutivo"), 0);
        EXPECT_EQ(sizes("registros radicacion periodos f_usuario"), "0 0 0 0");
        EXPECT_EQ(program->run_state, RunState::NotSaved);
    };
    // A remission date that is no date.
    DeliveryHeader bad_date = h;
    bad_date.remission_date = "2026/31/31";
    program->delivery.header = bad_date;
    EXPECT_EQ(save_delivery(*program).ending(), Ending::Failed);
    EXPECT_EQ(ui.messages.back().text.rfind(
                  "Se presento el Error #  13 al leer archivo de Registros\r\r", 0),
              0u);
    nothing_saved();

    // The last copy of the save fails.
    ui.messages.clear();
    program->delivery.header = h;
    inst.work().exec("ALTER TABLE f_Otrosers RENAME TO f_otrosers_aparte");
    EXPECT_EQ(save_delivery(*program).ending(), Ending::Failed);
    ASSERT_EQ(ui.titles(), std::vector<std::string>{"Error"});
    EXPECT_EQ(ui.messages[0].icon, Icon::Critical);
    // The engine's number and text for a missing table (the server names it in lower case).
    const std::string number = testing::Installation::on_server() ? " 0" : " 1";
    EXPECT_EQ(ui.messages[0].text.rfind(
                  "Se presento el Error # " + number + " al leer archivo de Registros\r\r", 0),
              0u)
        << ui.messages[0].text;
    EXPECT_NE(to_upper(ui.messages[0].text).find("F_OTROSERS"), std::string::npos);
    nothing_saved();
    EXPECT_EQ(count("SELECT * FROM usuario WHERE num_radicacion = 0"), 2);
    EXPECT_EQ(count("SELECT * FROM ERRORES WHERE nro_radicacion = 0"), 2);
    EXPECT_EQ(program->delivery.header.telephone, h.telephone);
    EXPECT_EQ(program->delivery.header.remission, "000001");

    inst.work().exec("ALTER TABLE f_otrosers_aparte RENAME TO f_Otrosers");
    EXPECT_EQ(save_delivery(*program).ending(), Ending::Done);
    EXPECT_EQ(inst.number("SELECT numero FROM consecutivo"), 1);
    EXPECT_EQ(count("SELECT * FROM f_usuario WHERE num_radicacion = 1"), 2);
    EXPECT_EQ(program->run_state, RunState::Saved);
}

// The command line keeps the run in the working database, so that a later `save` stores it.
TEST_F(SaveTest, CommandLineSavesInALaterCommandAndValidatesWithSave) {
    write_delivery("000001");
    std::string folder = "'" + inst.delivery.string() + "'";
    ASSERT_EQ(corvela("validate --today 2026-12-06 " + folder), 0);
    EXPECT_EQ(corvela("save --telefono ' '"), 1);
    EXPECT_EQ(count("SELECT * FROM registros"), 0);
    // The boxes keep what was typed, the blank telephone included, until it is typed again.
    EXPECT_EQ(corvela("save --today 2026-12-07 --remitente 'luz díaz'"), 1);
    EXPECT_EQ(corvela("save --today 2026-12-07 --telefono 555"), 0);
    EXPECT_EQ(inst.rows("SELECT DISTINCT remitente, nro_radicacion FROM registros"),
              std::vector<std::string>{"LUZ DÍAZ|1"});
    EXPECT_EQ(inst.rows("SELECT fecha_validacion FROM radicacion"),
              std::vector<std::string>{"2026-12-07"});

    write_delivery("000002");
    ASSERT_EQ(corvela("validate " + folder), 0);
    EXPECT_EQ(corvela("validate --save " + folder), 0);
    // As `save` does, it says under which number the delivery was saved.
    EXPECT_TRUE(output().ends_with("\nEl proceso finalizó con exito.\nRadicación interna No. 2\n"))
        << output();
    EXPECT_EQ(inst.rows("SELECT nro_radicacion FROM radicacion ORDER BY rowid"),
              (std::vector<std::string>{"1", "2"}));
}

}  // namespace
}  // namespace corvela::testing
