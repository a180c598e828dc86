#include "rules/documents.h"

#include <gtest/gtest.h>

#include "rules/error_recording.h"
#include "support/installation.h"

namespace corvela {
namespace {

struct Documents : ::testing::Test {
    testing::Installation inst;
    FieldDefinitions us{inst.ref(), "US"};
    FieldDefinitions ac{inst.ref(), "AC"};
    FileContext fc;

    // A users record with the document and the age given.
    void users(const std::string& tipo, const std::string& numero, const std::string& edad = "30",
               const std::string& unidad = "1") {
        fc = FileContext{};
        fc.type = "US";
        fc.defs = &us;
        fc.num_campos = 14;
        fc.campo.assign(15, "");
        fill_marcas(fc, 14, '0');
        fc.campo[1] = tipo;
        fc.campo[2] = numero;
        fc.campo[9] = edad;
        fc.campo[10] = unidad;
        valida_documento(fc, 2);
    }
    void service(const std::string& tipo, const std::string& numero) {
        fc = FileContext{};
        fc.type = "AC";
        fc.defs = &ac;
        fc.num_campos = 17;
        fc.campo.assign(18, "");
        fill_marcas(fc, 17, '0');
        fc.campo[3] = tipo;
        fc.campo[4] = numero;
        valida_documento(fc, 4);
    }
    void provider(const std::string& tipo, const std::string& numero) {
        service(tipo, "");
        fc.descripcion.clear();
        fc.errores_linea = 0;
        fc.C.fill(0);
        fc.campo[3] = tipo;
        fc.campo[4] = numero;
        valida_documento_af(fc, 4);
    }
};

TEST_F(Documents, CedulaIsTrimmedAndStoredAsItsValue) {
    service("CC", " 0012345 ");
    EXPECT_EQ(fc.errores_linea, 0);
    EXPECT_EQ(fc.campo[4], "12345");
    service("CC", "12");
    EXPECT_EQ(fc.descripcion, " La longitud del No. de documento no corresponde a una Cedula.");
    EXPECT_EQ(fc.C[29], 1);
    EXPECT_EQ(fc.marcas, std::string(17, '0'));
    service("CC", "ABC123");
    EXPECT_EQ(fc.descripcion, "Campo4 Valor del campo debe ser numerico");
    service("CC", "0000");
    EXPECT_EQ(fc.descripcion, "Campo4 No corresponde a un docuemento real");
}

TEST_F(Documents, ExtranjeriaOutOfRangeMarksTheTypeField) {
    service("CE", "1234567");
    EXPECT_EQ(fc.descripcion,
              " La longitud del No. de documento no corresponde a una Cedula de extranjeria., "
              "Campo3  Fuera de rango");
    EXPECT_EQ(fc.errores_linea, 2);
}

TEST_F(Documents, AgeRulesOfTheUsersFile) {
    users("CC", "12345678", "17");
    EXPECT_EQ(fc.descripcion, "Campo1 Documento no corresponde a la edad");
    users("CC", "12345678", "200", "2");  // 16.7 years
    EXPECT_EQ(fc.errores_linea, 1);
    users("CC", "12345678", "30", "7");  // unknown unit: age 0
    EXPECT_EQ(fc.errores_linea, 1);
    users("TI", "1006123456", "20");
    EXPECT_EQ(fc.descripcion, "Campo1 Documento no corresponde a la edad");
    users("TI", "1006123456", "19");
    EXPECT_EQ(fc.errores_linea, 0);
    users("CC", "12345678901", "10");
    EXPECT_EQ(fc.errores_linea, 2);
    EXPECT_EQ(fc.C[29], 1);
    EXPECT_EQ(fc.C[1], 1);
}

TEST_F(Documents, RegistroCivilAndNewbornNumbers) {
    users("RC", "123456789", "3");
    EXPECT_EQ(fc.descripcion, "C 2 Longitud doc.");
    users("RC", "ABC1234567", "3");
    EXPECT_EQ(fc.errores_linea, 0);
    users("RC", "abc1234567", "3");
    EXPECT_EQ(fc.errores_linea, 0);
    users("RC", "A-C1234567", "3");
    EXPECT_EQ(fc.descripcion, "Campo2 Numero de documento no valido");
    users("MS", "1234567-8", "10", "3");
    EXPECT_EQ(fc.errores_linea, 0);
    users("MS", "ABCDEFG", "10", "3");
    EXPECT_EQ(fc.descripcion, "Campo2 Numero de documento no valido");
    users("MS", "ABCDEFGHIJK-1", "10", "3");
    EXPECT_EQ(fc.errores_linea, 0);
    users("MS", "ABCDEFGHIJKL-1", "10", "3");
    EXPECT_EQ(fc.descripcion, "C 2 Longitud doc.");
    users("MS", "00123", "10", "3");
    EXPECT_EQ(fc.campo[2], "123");
    users("AS", "AB-12", "30");
    EXPECT_EQ(fc.descripcion, "Campo2 Numero de documento no valido");
    service("AS", "AB-12");
    EXPECT_EQ(fc.errores_linea, 0);
    service("cc", "x");  // a lower-case type gets no rule
    EXPECT_EQ(fc.errores_linea, 0);
}

TEST_F(Documents, ProviderDocuments) {
    provider("NI", "900123456-7");
    EXPECT_EQ(fc.errores_linea, 0);
    EXPECT_EQ(fc.campo[4], "900123456-7");
    provider("NI", "ABCDEFGH");
    EXPECT_EQ(fc.descripcion, "Campo4 No debe tener valor cero");
    provider("PA", "AB12345");
    EXPECT_EQ(fc.descripcion, "Campo4 No debe tener valor cero");
    provider("PA", "1234");
    EXPECT_EQ(fc.descripcion, "Campo4 Numero de documento no valido");
    provider("CC", "12");
    EXPECT_EQ(fc.descripcion, " La longitud del No. de documento no corresponde a una Cedula.\"");
    provider("", "");
    EXPECT_EQ(fc.descripcion, "Campo4 Campo sin contenido");
}

}  // namespace
}  // namespace corvela
