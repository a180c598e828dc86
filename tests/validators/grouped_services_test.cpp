#include "validators/grouped_services.h"

#include "support/validator_test.h"

namespace corvela::testing {
namespace {

struct GroupedServicesTest : ValidatorTest<GroupedServicesValidator> {
    GroupedServicesTest() : ValidatorTest("AD000001.TXT") {}
};

TEST_F(GroupedServicesTest, FieldRulesAndStoredRows) {
    auto counts = run({"F1,760010012301,01,2,,700", "F1,760010012301,02,3,100",
                       "F2,760010012301,99,,abc,x", "F3,760010012302,01,1,1,1,1"});
    EXPECT_EQ(counts.lines_read, 4);
    EXPECT_EQ(counts.lines_passed, 1);
    EXPECT_EQ(
        errors(),
        crlf({"F1,760010012301,02,3,100 / linea  2 Error de Campo6: No es es numerico",
              "F2,760010012301,99,,abc,x / linea  3 Error de Campo3: No esta definido en los "
              "parametros, Campo4 : No es es numerico, Campo5 : Campo sin contenido, Campo6 : "
              "No es es numerico",
              "F3,760010012302,01,1,1,1,1 / linea  4 Error de Estructura: Tiene un numero "
              "mayor de campos"}));
    EXPECT_EQ(rows("SELECT cantidad, valor_unitario, valor_total FROM descripcion"),
              std::vector<std::string>{"2|0|700"});
}

}  // namespace
}  // namespace corvela::testing
