#include "validators/otros_servicios.h"

#include <gtest/gtest.h>

#include "support/installation.h"

namespace corvela {
namespace {

using testing::crlf;

constexpr const char* kSinUsuario =
    "No se relaciona con un usuario: el registro de usuario no existe o no paso la validación";

struct OtherServices : ::testing::Test {
    testing::Installation inst;
    testing::ScriptedUi ui;
    testing::FixedClock clock{{2026, 12, 6}};

    FileCounts run(const std::string& bytes) {
        inst.write("AT000001.TXT", bytes);
        auto ctx = inst.context(ui, clock, "AT000001.TXT");
        ctx->users.add("CC", "123", UserData{"1", 30, "F"});
        Aotrosservicios v;
        return leer_archivo(*ctx, v, inst.delivery / "AT000001.TXT");
    }
    std::string errors() { return inst.result(std::string(testing::kIps) + "_AT000001.ERR"); }
    std::string accepted() { return inst.result(std::string(testing::kIps) + "_AT000001.TXT"); }
};

TEST_F(OtherServices, ErrorFileLines) {
    const std::string zeros = "F1,760010012301,cc,000123,,1,,Jeringa,2,500,1000";
    auto counts = run(crlf({
        // The document check runs first: the number with leading zeros finds the user.
        zeros,
        "F2,760010012301,CC,999,AUTORIZACION-DEMASIADO-LARGA,1,,x,1,1,1",
        ",760010013000,CC,123456789012345678901,,1,,x,1,1,1",
        "F4,760010012301,CC,123,AUTORIZACION-DEMASIADO-LARGA,12,,x,1,1,1",
    }));
    EXPECT_EQ(counts.lineas_validas, 1);
    EXPECT_EQ(accepted(), crlf({zeros}));
    EXPECT_EQ(
        errors(),
        crlf({"F2,760010012301,CC,999,AUTORIZACION-DEMASIADO-LARGA,1,,x,1,1,1 / linea  2 "
              "Error de " +
                  std::string(kSinUsuario),
              ",760010013000,CC,123456789012345678901,,1,,x,1,1,1 / linea  3 Error de "
              "Campo1: Campo sin contenido, Campo2 : Codigo de IPS no corresponde al "
              "definico en el archivo de control, Campo4 : Con longitud mayor a la definida, " +
                  std::string(kSinUsuario),
              "F4,760010012301,CC,123,AUTORIZACION-DEMASIADO-LARGA,12,,x,1,1,1 / linea  4 "
              "Error de Campo5: Con longitud mayor a la definida, Campo6 : Con longitud "
              "mayor a la definida"}));
    SQLite::Statement st(inst.work().db(), "SELECT C1, C2, C4, C5, C6, C23 FROM ERRORES");
    ASSERT_TRUE(st.executeStep());
    std::vector<int> c;
    for (int i = 0; i < 6; ++i) c.push_back(st.getColumn(i).getInt());
    EXPECT_EQ(c, (std::vector<int>{1, 1, 1, 1, 1, 2}));
}

TEST_F(OtherServices, LongValuesAreCutNotRejected) {
    const std::string name(70, 'N');
    const std::string line1 =
        "F1,760010012301,CC,123,,1,COD1," + name + ",1234567,2.5,123456789012345678901";
    const std::string line2 = "F2,760010012301,CC,123,,1,,,,,12345678901234567890";
    auto counts = run(crlf({line1, line2}));
    EXPECT_EQ(counts.lineas_validas, 2);
    EXPECT_EQ(accepted(), crlf({line1, line2}));
    SQLite::Statement st(
        inst.work().db(),
        "SELECT num_identificacion, num_autorizacion, cod_serv, nombre_serv, "
        "cantidad, valor_unitario, valor_total FROM Otrosers ORDER BY num_factura");
    ASSERT_TRUE(st.executeStep());
    EXPECT_EQ(st.getColumn(0).getString(), "123");
    EXPECT_TRUE(st.getColumn(1).isNull());
    EXPECT_EQ(st.getColumn(2).getString(), "COD1");
    EXPECT_EQ(st.getColumn(3).getString(), std::string(60, 'N'));
    EXPECT_EQ(st.getColumn(4).getDouble(), 12345);
    EXPECT_EQ(st.getColumn(5).getDouble(), 2.5);
    EXPECT_EQ(st.getColumn(6).getDouble(), 123456789012345);
    ASSERT_TRUE(st.executeStep());
    EXPECT_TRUE(st.getColumn(2).isNull());
    EXPECT_TRUE(st.getColumn(3).isNull());
    EXPECT_EQ(st.getColumn(4).getDouble(), 0);
    EXPECT_EQ(st.getColumn(5).getDouble(), 0);
    // Twenty characters are kept whole although the definition allows fifteen.
    EXPECT_EQ(st.getColumn(6).getDouble(), 12345678901234567890.0);
}

}  // namespace
}  // namespace corvela
