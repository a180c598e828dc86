// Nothing lost: a save killed at any point of its transaction, a results folder where nothing can
// be written, an output that cannot be created, a full disk under the error file, a failing insert,
// and two programs on one installation at once.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "app/save.h"
#include "platform/text.h"
#include "support/session.h"

namespace corvela::testing {
namespace {

struct NothingLost : SessionTest {
    // What a save changes, table by table.
    std::string saved() {
        return sizes("registros radicacion periodos f_usuario f_descripcion") + " | " +
               inst.rows("SELECT numero FROM consecutivo")[0] + " | " +
               inst.rows("SELECT valor FROM estado_corrida WHERE clave = 'estado'")[0];
    }
};

TEST_F(NothingLost, ASaveKilledAtAnyPointKeepsAllOrNothingAndTheNextSaveWorks) {
    validated("000001");
    program->store_run_state();
    program.reset();
    const std::string nothing = saved();
    ASSERT_EQ(nothing, "0 0 0 0 0 | 0 | N");
    const std::string whole = "2 1 0 2 1 | 1 | S";
    for (const char* point : {"save:numero", "save:registros", "save:periodos", "save:radicacion",
                              "save:numerados", "save:copia", "save:estado"}) {
        SCOPED_TRACE(point);
        EXPECT_EQ(corvela("save", point), 137);
        EXPECT_EQ(saved(), nothing);
        EXPECT_EQ(sizes("usuario descripcion"), "2 1");
        EXPECT_EQ(count("SELECT 1 FROM usuario WHERE num_radicacion <> 0"), 0);
    }
    EXPECT_EQ(corvela("save", "save:confirmado"), 137);
    EXPECT_EQ(saved(), whole);
    // The kept state says the delivery is saved: it is not saved a second time.
    EXPECT_EQ(corvela("save"), 1);
    EXPECT_NE(output().find("ya fueron cargados"), std::string::npos) << output();
    EXPECT_EQ(saved(), whole);
}

TEST_F(NothingLost, ARunKilledMidwayLeavesNothingToSaveUnderTheEarlierHeader) {
    validated("000001");
    program->store_run_state();
    program.reset();
    EXPECT_EQ(corvela("validate '" + inst.delivery.string() + "'", "validacion:archivo"), 137);
    EXPECT_EQ(corvela("save"), 1);
    EXPECT_NE(output().find("ya fueron cargados"), std::string::npos) << output();
    EXPECT_EQ(saved(), "0 0 0 0 0 | 0 | I");
}

TEST_F(NothingLost, AResultsFolderWhereNothingCanBeWrittenEndsTheRunBeforeAnyChange) {
    validated("000001");
    std::filesystem::remove_all(inst.results());
    // A folder in which not even the administrator can create a file.
    std::filesystem::create_directory_symlink("/proc/self/fdinfo",
                                              inst.results_root / "Validacion");
    ui.messages.clear();
    EXPECT_EQ(run(RunState::Saved).ending(), Ending::Stopped);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].title, "Error");
    EXPECT_EQ(
        ui.messages[0].text.rfind("Se presento el Error #  2 al leer archivo de Control\r\r", 0),
        0u)
        << ui.messages[0].text;
    // The rows of the earlier run are still there.
    EXPECT_EQ(sizes("usuario descripcion"), "2 1");
}

TEST_F(NothingLost, AFullDiskUnderTheErrorFileIsReportedAndEveryPassedLineKeepsItsRow) {
    write_delivery("000001");
    std::filesystem::create_directories(inst.results());
    // An error file exists already, so the run writes the second name: a full disk.
    std::ofstream(inst.results() + "760010012301_US000001.ERR");
    std::filesystem::create_symlink("/dev/full", inst.results() + "760010012301_US000001_1.ERR");
    EXPECT_EQ(run().ending(), Ending::Done);
    ASSERT_NE(shown("Error"), nullptr);
    EXPECT_EQ(
        shown("Error")->text,
        "Se presento el Error #  28 al leer archivo de Usuarios \r\rNo queda espacio en el disco");
    EXPECT_EQ(sizes("usuario descripcion"), "2 1");
    const std::string accepted = inst.result("760010012301_US000001.TXT");
    EXPECT_EQ(std::count(accepted.begin(), accepted.end(), '\n'), 2) << accepted;
    EXPECT_EQ(inst.rows("SELECT tipo, C2 FROM ERRORES ORDER BY rowid"),
              (std::vector<std::string>{"US|1", "AD|0"}));
}

TEST_F(NothingLost, AnOutputThatCannotBeCreatedEndsThatFileAndTheRunGoesOn) {
    write_delivery("000001");
    // The accepted-lines file of AD cannot be created: a folder stands in its place.
    std::filesystem::create_directories(inst.results() + "760010012301_AD000001.TXT");
    EXPECT_EQ(run().ending(), Ending::Done);
    ASSERT_NE(shown("Error"), nullptr);
    EXPECT_EQ(shown("Error")->text.rfind(
                  "Se presento el Error #  21 al leer archivo de Descripción Agrupada \r\r", 0),
              0u);
    EXPECT_EQ(count("SELECT 1 FROM ERRORES WHERE tipo = 'AD'"), 1);
    EXPECT_EQ(ui.messages.back().title, "Resumén de la validación.");
}

TEST_F(NothingLost, AFailingInsertEndsThatFileAndTheRunGoesOn) {
    inst.add_cie10("J189", "A", "0", "0");
    inst.fail_inserts("urgencias", "NEW.num_factura = 'BOOM'");
    const std::string head = std::string(kIps) + ",01/11/2026,";
    control({head + "US000001,1", head + "AU000001,3", head + "AM000001,1"});
    inst.write("US000001.TXT", crlf({kUsers[0]}));
    const std::string au =
        "," + std::string(kIps) + ",CC,16789012,01/11/2026,0830,,13,J189,,,,1,1,,02/11/2026,1000";
    inst.write("AU000001.TXT", crlf({"F001" + au, "BOOM" + au, "F003" + au}));
    inst.write("AM000001.TXT", crlf({"F001," + std::string(kIps) +
                                     ",CC,16789012,,M01,1,ACETAMINOFEN,,,,10,100,1000"}));
    EXPECT_EQ(run().ending(), Ending::Done);
    std::vector<ShownMessage> errors;
    for (const auto& m : ui.messages)
        if (m.title == "Error") errors.push_back(m);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].text, "Se presento el Error # " +
                                  number_text(testing::Installation::failing_insert_number()) +
                                  " al leer archivo de Urgencias \r\rfalla");
    EXPECT_EQ(errors[0].icon, Icon::Critical);
    EXPECT_EQ(inst.rows("SELECT num_factura FROM urgencias"), std::vector<std::string>{"F001"});
    EXPECT_EQ(inst.rows("SELECT count(*), sum(C1) FROM ERRORES WHERE tipo = 'AU'"),
              std::vector<std::string>{"1|0"});
    EXPECT_EQ(count("SELECT 1 FROM medicamentos"), 1);
}

TEST_F(NothingLost, ASecondProgramStopsWhileTheFirstChangesTheWorkingTables) {
    validated("000001");
    program->store_run_state();
    {
        // The command line holds the installation while it runs; here this program does.
        OperationScope scope(*program);
        ASSERT_TRUE(scope.ok());
        EXPECT_EQ(corvela("validate --yes '" + inst.delivery.string() + "'"), 1);
        EXPECT_EQ(output(),
                  "[Base de datos ocupada]\nOtra validación, grabación o borrado está en curso "
                  "sobre la base de datos de esta instalación.\nEspere a que termine y vuelva a "
                  "intentarlo.\n");
        EXPECT_EQ(corvela("save"), 1);
        EXPECT_EQ(corvela("clean --yes"), 1);
    }
    EXPECT_EQ(sizes("usuario descripcion registros"), "2 1 0");
    // Once it is given back, the next command works.
    EXPECT_EQ(corvela("save"), 0) << output();
    EXPECT_EQ(sizes("registros f_usuario"), "2 2");
}

TEST_F(NothingLost, TwoRunsStartedTogetherLeaveTheTablesOfOneRun) {
    write_delivery("000001");
    program.reset();
    const std::string validate = "validate --no '" + inst.delivery.string() + "'";
    const auto one = inst.dir / "run1", two = inst.dir / "run2";
    const std::vector<int> codes =
        run_together({{inst.config, validate, one}, {inst.config, validate, two}});
    // The one that stopped said why.
    for (size_t n : {0u, 1u}) {
        if (codes[n] == 1)
            EXPECT_NE(read_file(n ? two : one).find("[Base de datos ocupada]"), std::string::npos);
        else
            EXPECT_EQ(codes[n], 0);
    }
    EXPECT_NE(codes, (std::vector<int>{1, 1}));
    EXPECT_EQ(sizes("usuario descripcion"), "2 1");
    EXPECT_EQ(inst.rows("SELECT count(*), sum(C2) FROM ERRORES"), std::vector<std::string>{"2|1"});
}

}  // namespace
}  // namespace corvela::testing
