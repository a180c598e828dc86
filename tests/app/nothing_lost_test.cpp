// Nothing lost: a save killed at any point of its transaction, a results folder where nothing can
// be written, a full disk under the error file, and two programs on one installation at once.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>

#include "app/save.h"
#include "support/session.h"

namespace corvela::testing {
namespace {

struct NothingLost : SessionTest {
    // Runs the command line on this installation; its exit status, 137 when it was killed.
    int corvela(const std::string& args, const std::string& fault = "") {
        std::string cmd = (fault.empty() ? "" : "CORVELA_FAULT=" + fault + " ") +
                          std::string(CORVELA_BINARY) + " " + args + " --config '" +
                          inst.config.string() + "' > '" + (inst.dir / "out.txt").string() +
                          "' 2>&1";
        int status = std::system(cmd.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    std::string output() const { return read_file(inst.dir / "out.txt"); }
    static std::string read_file(const std::filesystem::path& p) {
        std::ifstream in(p, std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }
    // What a save changes, table by table.
    std::string saved() {
        return sizes("registros radicacion periodos f_usuario f_descripcion") + " | " +
               inst.rows("SELECT numero FROM consecutivo")[0] + " | " +
               inst.rows("SELECT valor FROM estado_corrida WHERE clave = 'estado'")[0];
    }
};

TEST_F(NothingLost, ASaveKilledAtAnyPointKeepsAllOrNothingAndTheNextSaveWorks) {
    write_delivery("000001");
    ASSERT_EQ(run(), RunOutcome::Summary);
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

TEST_F(NothingLost, AResultsFolderWhereNothingCanBeWrittenEndsTheRunBeforeAnyChange) {
    write_delivery("000001");
    ASSERT_EQ(run(), RunOutcome::Summary);
    std::filesystem::remove_all(inst.results());
    // A folder in which not even the administrator can create a file.
    std::filesystem::create_directory_symlink("/proc/self/fdinfo",
                                              inst.results_root / "Validacion");
    ui.messages.clear();
    EXPECT_EQ(run("S"), RunOutcome::Stopped);
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
    EXPECT_EQ(run(), RunOutcome::Summary);
    ASSERT_NE(shown("Error"), nullptr);
    EXPECT_EQ(shown("Error")->text,
              "Se presento el Error #  28 al leer archivo de Usuarios \r\rNo space left on device");
    EXPECT_EQ(sizes("usuario descripcion"), "2 1");
    const std::string accepted = inst.result("760010012301_US000001.TXT");
    EXPECT_EQ(std::count(accepted.begin(), accepted.end(), '\n'), 2) << accepted;
    EXPECT_EQ(inst.rows("SELECT tipo, C2 FROM ERRORES ORDER BY rowid"),
              (std::vector<std::string>{"US|1", "AD|0"}));
}

TEST_F(NothingLost, ASecondProgramStopsWhileTheFirstChangesTheWorkingTables) {
    write_delivery("000001");
    ASSERT_EQ(run(), RunOutcome::Summary);
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
    const std::string run = std::string(CORVELA_BINARY) + " validate --no --config '" +
                            inst.config.string() + "' '" + inst.delivery.string() + "'";
    const std::string out = (inst.dir / "run").string();
    const std::string both = "(" + run + " > '" + out + "1' 2>&1; echo $? > '" + out +
                             "1.rc') & (" + run + " > '" + out + "2' 2>&1; echo $? > '" + out +
                             "2.rc') & wait";
    ASSERT_EQ(std::system(both.c_str()), 0);
    std::vector<std::string> codes;
    for (const char* n : {"1", "2"}) {
        std::string rc = read_file(out + n + ".rc");
        codes.push_back(rc.substr(0, rc.find('\n')));
        // The one that stopped said why.
        if (codes.back() == "1")
            EXPECT_NE(read_file(out + n).find("[Base de datos ocupada]"), std::string::npos);
        else
            EXPECT_EQ(codes.back(), "0");
    }
    EXPECT_NE(codes, (std::vector<std::string>{"1", "1"}));
    EXPECT_EQ(sizes("usuario descripcion"), "2 1");
    EXPECT_EQ(inst.rows("SELECT count(*), sum(C2) FROM ERRORES"), std::vector<std::string>{"2|1"});
}

}  // namespace
}  // namespace corvela::testing
