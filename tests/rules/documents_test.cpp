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

    // A fresh record of `type` with the document type and number at `tipo` and `tipo + 1`.
    void record(const char* type, FieldDefinitions& defs, size_t n, size_t tipo,
                const std::string& t, const std::string& numero) {
        fc = FileContext{};
        fc.type = type;
        fc.defs = &defs;
        fc.field_count = static_cast<int>(n);
        fc.fields.assign(n + 1, "");
        fill_marks(fc, n, '0');
        fc.fields[tipo] = t;
        fc.fields[tipo + 1] = numero;
    }
    // A users record with the document and the age given.
    void users(const std::string& tipo, const std::string& numero, const std::string& edad = "30",
               const std::string& unidad = "1") {
        record("US", us, 14, 1, tipo, numero);
        fc.fields[9] = edad;
        fc.fields[10] = unidad;
        check_document(fc, 2);
    }
    void service(const std::string& tipo, const std::string& numero) {
        record("AC", ac, 17, 3, tipo, numero);
        check_document(fc, 4);
    }
    void provider(const std::string& tipo, const std::string& numero) {
        record("AC", ac, 17, 3, tipo, numero);
        check_provider_document(fc, 4);
    }
};

TEST_F(Documents, CedulaIsTrimmedAndStoredAsItsValue) {
    service("CC", " 0012345 ");
    EXPECT_EQ(fc.line_errors, 0);
    EXPECT_EQ(fc.fields[4], "12345");
    service("CC", "12");
    EXPECT_EQ(fc.counters[counter_of_code(29)], 1);
    EXPECT_EQ(fc.marks, std::string(17, '0'));
    users("MS", "00123", "10", "3");
    EXPECT_EQ(fc.fields[2], "123");
    provider("NI", "900123456-7");
    EXPECT_EQ(fc.fields[4], "900123456-7");
}

// How each kind of record describes a document: 'U' users (with age and unit), 'S' a service
// record, 'P' the provider of an invoice.
struct DocumentCase {
    char kind;
    const char *tipo, *numero, *edad, *unidad, *description;
};

TEST_F(Documents, RulesByTypeAndKindOfRecord) {
    const std::string age = "Campo1 Documento no corresponde a la edad";
    const std::string invalid2 = "Campo2 Numero de documento no valido";
    const DocumentCase cases[] = {
        {'S', "CC", "12", "", "", " La longitud del No. de documento no corresponde a una Cedula."},
        {'S', "CC", "ABC123", "", "", "Campo4 Valor del campo debe ser numerico"},
        {'S', "CC", "0000", "", "", "Campo4 No corresponde a un docuemento real"},
        {'S', "CE", "1234567", "", "",
         " La longitud del No. de documento no corresponde a una Cedula de extranjeria., Campo3  "
         "Fuera de rango"},
        {'U', "CC", "12345678", "17", "1", age.c_str()},
        {'U', "CC", "12345678", "200", "2", age.c_str()},  // 16.7 years
        {'U', "CC", "12345678", "30", "7", age.c_str()},   // unknown unit: age 0
        {'U', "TI", "1006123456", "20", "1", age.c_str()},
        {'U', "TI", "1006123456", "19", "1", ""},
        {'U', "RC", "123456789", "3", "1", "C 2 Longitud doc."},
        {'U', "RC", "ABC1234567", "3", "1", ""},
        {'U', "RC", "abc1234567", "3", "1", ""},
        {'U', "RC", "A-C1234567", "3", "1", invalid2.c_str()},
        {'U', "MS", "1234567-8", "10", "3", ""},
        {'U', "MS", "ABCDEFG", "10", "3", invalid2.c_str()},
        {'U', "MS", "ABCDEFGHIJK-1", "10", "3", ""},
        {'U', "MS", "ABCDEFGHIJKL-1", "10", "3", "C 2 Longitud doc."},
        {'U', "AS", "AB-12", "30", "1", invalid2.c_str()},
        {'S', "AS", "AB-12", "", "", ""},
        {'S', "cc", "x", "", "", ""},  // a lower-case type gets no rule
        {'P', "NI", "900123456-7", "", "", ""},
        {'P', "NI", "ABCDEFGH", "", "", "Campo4 No debe tener valor cero"},
        {'P', "PA", "AB12345", "", "", "Campo4 No debe tener valor cero"},
        {'P', "PA", "1234", "", "", "Campo4 Numero de documento no valido"},
        {'P', "CC", "12", "", "",
         " La longitud del No. de documento no corresponde a una Cedula.\""},
        {'P', "", "", "", "", "Campo4 Campo sin contenido"},
    };
    for (const DocumentCase& c : cases) {
        if (c.kind == 'U') users(c.tipo, c.numero, c.edad, c.unidad);
        if (c.kind == 'S') service(c.tipo, c.numero);
        if (c.kind == 'P') provider(c.tipo, c.numero);
        EXPECT_EQ(fc.description, c.description) << c.kind << " " << c.tipo << " " << c.numero;
        EXPECT_EQ(fc.line_errors, *c.description ? 1 + (c.tipo == std::string("CE")) : 0)
            << c.tipo << " " << c.numero;
    }
    // A cedula too long for an adult of the users file: both its length and the age fail.
    users("CC", "12345678901", "10");
    EXPECT_EQ(fc.line_errors, 2);
    EXPECT_EQ(fc.counters[counter_of_code(29)], 1);
    EXPECT_EQ(fc.counters[counter_of_code(1)], 1);
}

// The "CC" rule as the file types set it: the hyphen of a check digit spares a number at any
// length or only beyond two characters, two characters may have a text and counter of their own,
// the users' number is also tested for the value 0, and the text may have a form of its own for an
// empty description.
struct CedulaCase {
    IdCardRule rule;
    const char *tipo, *numero, *before;
    std::string description;
    int c22, c25;
};

TEST_F(Documents, CedulaRuleByItsParameters) {
    const std::string ced(kNonNumericIdCard);
    const IdCardRule any, beyond_two{.hyphen_beyond_two = true},
        two{.two_characters = "T2", .two_characters_counter = Counter::TwoCharacterDocument},
        zero{.tipo = 1, .zero_test = true}, alone{.alone = "SOLO"};
    const CedulaCase cases[] = {
        {any, "CC", "ABC", "", ced, 1, 0},
        {any, "CC", "AB-C", "", "", 0, 0},
        {any, "CC", "-A", "", "", 0, 0},
        {any, "TI", "ABC", "", "", 0, 0},
        {any, "CC", "A", "", "", 0, 0},
        {any, "CC", " 12345", "", "", 0, 0},
        {beyond_two, "CC", "-A", "", ced, 1, 0},
        {beyond_two, "CC", "AB-C", "", "", 0, 0},
        {two, "CC", "-A", "", "T2", 0, 1},
        {two, "CC", "AB-C", "", "", 0, 0},
        {zero, "CC", "ABC", "", ced + ", " + ced, 2, 0},
        {zero, "CC", "AB-C", "", ced, 1, 0},
        {zero, "CC", "12-A", "", "", 0, 0},
        {alone, "CC", "ABC", "", "SOLO", 1, 0},
        {alone, "CC", "ABC", "X", "X, " + ced, 1, 0},
    };
    for (const CedulaCase& c : cases) {
        const size_t tipo = static_cast<size_t>(c.rule.tipo);
        record("AC", ac, 17, tipo, c.tipo, c.numero);
        fc.description = c.before;
        EXPECT_EQ(non_numeric_id_card(fc, c.rule), c.c22 + c.c25 > 0) << c.numero;
        EXPECT_EQ(fc.description, c.description) << c.numero;
        EXPECT_EQ(fc.counters[counter_of_code(22)], c.c22) << c.numero;
        EXPECT_EQ(fc.counters[counter_of_code(25)], c.c25) << c.numero;
    }
}

}  // namespace
}  // namespace corvela
