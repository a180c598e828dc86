// The complete code lists shipped in data/reference/: field definitions that fit the tables, and
// real codes that a partial list would reject (what `init` loads is counted by the reference
// data's status).
#include <gtest/gtest.h>

#include "app/program.h"
#include "app/validation_run.h"
#include "db/file_types.h"
#include "rules/field_definitions.h"
#include "support/installation.h"

namespace corvela::testing {
namespace {

class ShippedCatalogues : public ::testing::Test {
  protected:
    Status run() {
        program = std::make_unique<Program>(ui, clock);
        EXPECT_TRUE(program->start(inst.config).ok());
        return run_validation(*program, inst.delivery);
    }
    std::string error_file(const std::string& type) {
        return inst.result(std::string(kIps) + "_" + type + "000001.ERR");
    }

    Installation inst{Sample{}};
    ScriptedUi ui;
    FixedClock clock{Date{2026, 12, 6}};
    std::unique_ptr<Program> program;
};

TEST_F(ShippedCatalogues, TheFieldDefinitionsGiveEachTypeTheFieldsItsTableStores) {
    for (const FileType& type : file_types()) {
        SCOPED_TRACE(type.type);
        EXPECT_EQ(static_cast<size_t>(FieldDefinitions(inst.ref(), type.type).count()),
                  field_column_count(type));
    }
}

TEST_F(ShippedCatalogues, RealCodesPassAndAFemaleOnlyDiagnosisFailsForAMan) {
    for (const auto& e : std::filesystem::directory_iterator(inst.delivery))
        std::filesystem::remove(e.path());
    const std::string head = std::string(kIps) + ",01/11/2026,";
    inst.write("CT000001.txt", crlf({head + "US000001,1", head + "AC000001,4"}));
    inst.write("US000001.txt",
               crlf({"CC,16789012,EPS005,1,GOMEZ,PEREZ,CARLOS,ANDRES,45,1,M,05,002,U"}));
    const std::string ac = std::string("F0001,") + kIps + ",CC,16789012,15/11/2026,,890201,10,13,";
    inst.write("AC000001.txt",
               crlf({ac + "J00X,,,,1,35000,0,35000", ac + "I10X,,,,1,35000,0,35000",
                     ac + "Z000,,,,1,35000,0,35000", ac + "O800,,,,1,35000,0,35000"}));
    ASSERT_EQ(run().ending(), Ending::Done);
    EXPECT_EQ(error_file("US"), "");
    EXPECT_EQ(error_file("AC"),
              ac + "O800,,,,1,35000,0,35000 / linea  4 Error de Sexo no corresponde al DX\r\n");
    EXPECT_EQ(inst.work().count("SELECT * FROM consulta"), 3);
    EXPECT_EQ(inst.work().count("SELECT * FROM usuario WHERE cod_muni = '002'"), 1);
}

}  // namespace
}  // namespace corvela::testing
