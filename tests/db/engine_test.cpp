// What both engines mean the same way, and where they differ: lookups that fold ASCII letters and
// keep ñ and Ñ apart, orders and distinct values of case-blind texts, a failure's number, numbers
// out of range, a NUL in a field, a full disk under the database, and a server that goes away
// during a run.
#include <gtest/gtest.h>

#include "rules/reference_cache.h"
#include "rules/users_index.h"
#include "support/session.h"

namespace corvela {
namespace {

using testing::Installation;

class EngineMeaning : public testing::SessionTest {};

TEST_F(EngineMeaning, LookupsFoldAsciiLettersAndKeepEnyeApart) {
    testing::run_sql(inst.work(),
                     "INSERT INTO usuario (tipo_identificacion, numero_identificacion, "
                     "unidad_medida, edad, sexo) VALUES (?, ?, '1', 30, 'F')",
                     std::string("CC"), std::string("AÑ12b"));
    inst.add_cie10("J189", "A", "0", "0");
    inst.add_cie10("Ñ001", "A", "0", "0");
    UsersIndex table, memory;
    table.use_table(inst.work());
    memory.add("CC", "AÑ12b", UserData{"1", 30, "F"});
    const ReferenceCache on_disk(inst.ref(), true), held(inst.ref(), false);
    const struct {
        const char *tipo, *numero, *cie10;
        bool found;
    } cases[] = {
        {"CC", "AÑ12b", "J189", true},
        {"cc", "aÑ12B", "j189", true},
        {"CC", "Añ12b", "ñ001", false},
        {"CC", "AN12b", "N001", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.numero) + " " + c.cie10);
        EXPECT_EQ(table.find(c.tipo, c.numero) != nullptr, c.found);
        EXPECT_EQ(memory.find(c.tipo, c.numero) != nullptr, c.found);
        EXPECT_EQ(on_disk.cie10(c.cie10) != nullptr, c.found);
        EXPECT_EQ(held.cie10(c.cie10) != nullptr, c.found);
    }
}

TEST_F(EngineMeaning, OrdersAndDistinctValuesFollowTheCaseBlindTexts) {
    inst.work().exec("DELETE FROM TR_instituciones");
    for (const char* name : {"zeta", "Ñandú", "ñame", "Alfa", "alfa", "BETA", "ámbito"})
        testing::run_sql(inst.work(), "INSERT INTO TR_instituciones (codigo, nombre) VALUES (?, ?)",
                         std::string("1"), std::string(name));
    // ASCII letters without regard to case, ties in the order the rows came; other bytes as
    // they are, so Ñ, á and ñ follow z in the order of their codes.
    EXPECT_EQ(
        inst.rows("SELECT nombre FROM TR_instituciones ORDER BY nombre, rowid"),
        (std::vector<std::string>{"Alfa", "alfa", "BETA", "zeta", "Ñandú", "ámbito", "ñame"}));
    EXPECT_EQ(inst.rows("SELECT count(DISTINCT nombre) FROM TR_instituciones"),
              std::vector<std::string>{"6"});
    EXPECT_EQ(inst.rows("SELECT nombre, count(*) FROM TR_instituciones WHERE nombre = 'ALFA' "
                        "GROUP BY nombre"),
              std::vector<std::string>{"Alfa|2"});
}

TEST_F(EngineMeaning, EachTableComparesItsColumnsAsTheirTypesSay) {
    // Each engine names the column types in its own definitions: a case-blind text ignores
    // letter case, a date or an exact text compares as written, a number as a number.
    const struct {
        const char *table, *column, *stored, *sought;
        bool found;
    } cases[] = {
        {"consulta", "cod_consul", "890201a", "890201A", true},
        {"consulta", "fecha_consul", "2026-03-01x", "2026-03-01X", false},
        {"consulta", "valor_consul", "1500", "1500.0", true},
        {"radicacion", "fecha_validacion", "abc", "ABC", false},
        {"estado_corrida", "clave", "prueba", "PRUEBA", false},
        {"sedes", "habilitacion", "05001a", "05001A", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.table) + "." + c.column);
        const std::string table = c.table, column = c.column;
        testing::run_sql(inst.work(), "INSERT INTO " + table + " (" + column + ") VALUES (?)",
                         std::string(c.stored));
        EXPECT_EQ(inst.work().count("SELECT 1 FROM " + table + " WHERE " + column + " = ?",
                                    std::string(c.sought)),
                  c.found ? 1 : 0);
    }
}

TEST_F(EngineMeaning, AFailureShowsTheEnginesNumberAndText) {
    testing::run_sql(inst.work(), "INSERT INTO sedes (habilitacion) VALUES (?)",
                     std::string("050010045601"));
    try {
        // The same site again: the key refuses it, by the engine's number (the server's
        // SQLSTATE 23505, the embedded engine's constraint code 19).
        testing::run_sql(inst.work(), "INSERT INTO sedes (habilitacion) VALUES (?)",
                         std::string("050010045601"));
        ADD_FAILURE() << "a repeated key was taken";
    } catch (const DatabaseFailure& e) {
        EXPECT_EQ(e.number, Installation::on_server() ? 23505 : 19);
        EXPECT_NE(
            std::string(e.what()).find(Installation::on_server() ? "duplicate key" : "UNIQUE"),
            std::string::npos)
            << e.what();
    }
}

TEST_F(EngineMeaning, NoStoredNumberIsInfiniteOrNegativeZeroAndBothEnginesAgree) {
    const std::string ips = "," + std::string(testing::kIps) + ",01,";
    write_delivery("000001", testing::kUsers,
                   {"FE1" + ips + "1e999,5,5", "FE2" + ips + "1,1e-400,5", "FE3" + ips + "-0,5,5",
                    "FE4" + ips + "2,5,-1E400"});
    EXPECT_EQ(run().ending(), Ending::Done);
    EXPECT_EQ(shown("Error"), nullptr);
    // Too large for a double is no number; too small is 0; -0 is 0.
    EXPECT_EQ(inst.rows("SELECT num_factura, cantidad, valor_unitario, valor_total FROM "
                        "descripcion ORDER BY rowid"),
              (std::vector<std::string>{"FE2|1|0|5", "FE3|0|5|5"}));
    EXPECT_EQ(inst.rows("SELECT val('1e999'), val('1e-400'), val('-0'), val(' 2e1x')"),
              std::vector<std::string>{"0|0|0|20"});
}

// The embedded engine keeps a NUL as a character of its field; a server's texts cannot hold it, so
// the file ends at that line, saying where, nothing of it cut.
TEST_F(EngineMeaning, ANulIsACharacterOfItsFieldOrEndsTheFileWhereTheEngineCannotKeepIt) {
    using namespace std::string_literals;
    const std::string nul = "CC,16789012,EPS005,1,GO\0MEZ,,ANA,,45,1,F,76,001,U"s;
    write_delivery("000001", {"CC,1678\0"
                              "9012,EPS005,1,GOMEZ,,ANA,,45,1,F,76,001,U"s,
                              nul});
    EXPECT_EQ(run().ending(), Ending::Done);
    EXPECT_EQ(inst.result(std::string(testing::kIps) + "_US000001.ERR"),
              testing::crlf({"CC,1678\0"
                             "9012,EPS005,1,GOMEZ,,ANA,,45,1,F,76,001,U  / linea  1 "
                             "Error de Campo2 Valor del campo debe ser numerico, Numero de "
                             "Identificación es tipo cedula y no es numerico"s}));
    if (!Installation::on_server()) {
        EXPECT_EQ(inst.rows("SELECT primer_apellido FROM usuario"),
                  std::vector<std::string>{"GO\0MEZ"s});
        return;
    }
    ASSERT_NE(shown("Error"), nullptr);
    EXPECT_EQ(shown("Error")->text,
              "Se presento el Error #  22021 al leer archivo de Usuarios \r\rEl servidor no puede "
              "guardar el carácter NUL (código 0) que hay en el campo 5 de la línea 2 del archivo "
              "US000001.TXT: sus textos no lo admiten.");
    EXPECT_EQ(sizes("usuario"), "0");
}

TEST_F(EngineMeaning, AFullDiskUnderTheDatabaseKeepsNothingOfTheFileAndStopsTheRun) {
    write_delivery("000001");
    program.reset();
    const std::string failure =
        Installation::on_server()
            ? "Se presento el Error #  53100 al leer archivo de Usuarios \n\ncould not extend "
              "file: No space left on device\n"
            : "Se presento el Error #  13 al leer archivo de Usuarios \n\ndatabase or disk is "
              "full\n";
    // The disk fills up after the first user's row, on one thread and behind a writer thread.
    for (const std::string threads : {"1", "2"}) {
        SCOPED_TRACE(threads);
        EXPECT_EQ(corvela("validate --threads " + threads + " '" + inst.delivery.string() + "'",
                          "almacen:disco-lleno"),
                  1);
        const std::string out = output();
        EXPECT_EQ(out.substr(out.find("[Error]")), "[Error]\n" + failure) << out;
        EXPECT_EQ(sizes("usuario descripcion ERRORES"), "0 0 0");
        EXPECT_EQ(inst.rows("SELECT c4, c5 FROM control_corrida WHERE c2 = 'US000001'"),
                  std::vector<std::string>{"0|0"});
        EXPECT_EQ(corvela("save"), 1);
        EXPECT_NE(output().find("ya fueron cargados"), std::string::npos) << output();
    }
}

class ServerGoesAway : public testing::SessionTest {};

TEST_F(ServerGoesAway, TheFileEndsOnItsMessageNothingIsHalfStoredAndALaterRunWorks) {
    if (!Installation::on_server()) GTEST_SKIP() << "only a server can go away";
    write_delivery("000001");
    // The server ends this program's connection when the grouped descriptions are stored.
    inst.work().exec(
        "CREATE FUNCTION corta() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN PERFORM "
        "pg_terminate_backend(pg_backend_pid()); RETURN NEW; END $$; CREATE TRIGGER corta BEFORE "
        "INSERT ON descripcion FOR EACH ROW EXECUTE FUNCTION corta()");
    EXPECT_EQ(run().ending(), Ending::Stopped);

    // The file's message gives the server's text; the run cannot go on without its server.
    ASSERT_NE(shown("Error"), nullptr);
    EXPECT_EQ(shown("Error")->text,
              "Se presento el Error #  0 al leer archivo de Descripción Agrupada \r\rterminating "
              "connection due to administrator command");
    EXPECT_EQ(sizes("descripcion"), "0");

    // Once the server is there again, a new program validates the same delivery whole.
    inst.work().exec("DROP TRIGGER corta ON descripcion");
    program = std::make_unique<Program>(ui, clock);
    ASSERT_TRUE(program->start(inst.config).ok());
    ui.messages.clear();
    EXPECT_EQ(run(RunState::Initial).ending(), Ending::Done);
    EXPECT_EQ(shown("Error"), nullptr);
    EXPECT_EQ(sizes("usuario descripcion"), "2 1");
}

}  // namespace
}  // namespace corvela
