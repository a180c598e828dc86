#include "validators/other_services.h"

#include "support/validator_test.h"

namespace corvela::testing {
namespace {

struct OtherServicesTest : ValidatorTest<OtherServicesValidator> {
    OtherServicesTest() : ValidatorTest("AT000001.TXT") { user("CC", "123", "F"); }
};

TEST_F(OtherServicesTest, ErrorFileLines) {
    // The document check runs first: the number with leading zeros finds the user.
    const std::string zeros = "F1,760010012301,cc,000123,,1,,Jeringa,2,500,1000";
    auto counts = run({zeros, ",760010013000,CC,123456789012345678901,,1,,x,1,1,1",
                       "F4,760010012301,CC,123,AUTORIZACION-DEMASIADO-LARGA,12,,x,1,1,1"});
    EXPECT_EQ(counts.lines_passed, 1);
    EXPECT_EQ(accepted(), crlf({zeros}));
    EXPECT_EQ(errors(),
              crlf({",760010013000,CC,123456789012345678901,,1,,x,1,1,1 / linea  2 Error de "
                    "Campo1: Campo sin contenido, Campo2 : Codigo de IPS no corresponde al "
                    "definico en el archivo de control, Campo4 : Con longitud mayor a la "
                    "definida, " +
                        std::string(kNoUser),
                    "F4,760010012301,CC,123,AUTORIZACION-DEMASIADO-LARGA,12,,x,1,1,1 / linea  3 "
                    "Error de Campo5: Con longitud mayor a la definida, Campo6 : Con longitud "
                    "mayor a la definida"}));
    EXPECT_EQ(counters({1, 2, 4, 5, 6, 23}), (std::vector<int>{1, 1, 1, 1, 1, 1}));
}

TEST_F(OtherServicesTest, LongValuesAreCutNotRejected) {
    const std::string line1 = "F1,760010012301,CC,123,,1,COD1," + std::string(70, 'N') +
                              ",1234567,2.5,123456789012345678901";
    const std::string line2 = "F2,760010012301,CC,123,,1,,,,,12345678901234567890";
    auto counts = run({line1, line2});
    EXPECT_EQ(counts.lines_passed, 2);
    EXPECT_EQ(accepted(), crlf({line1, line2}));
    // Twenty characters of the total are kept whole although the definition allows fifteen.
    EXPECT_EQ(rows("SELECT num_identificacion, num_autorizacion, cod_serv, nombre_serv, cantidad, "
                   "valor_unitario, valor_total FROM Otrosers ORDER BY num_factura"),
              (std::vector<std::string>{
                  "123|null|COD1|" + std::string(60, 'N') + "|12345|2.5|123456789012345",
                  "123|null|null|null|0|0|1.23456789012346e+19"}));
}

}  // namespace
}  // namespace corvela::testing
