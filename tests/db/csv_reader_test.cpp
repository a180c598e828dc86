#include "db/csv_reader.h"

#include <gtest/gtest.h>

namespace corvela {
namespace {

// A parsed file as text: the separator, the header and each row as "line:v1|v2".
std::string shown(const CsvContent& csv) {
    std::string out = std::string(1, csv.separator) + " " + std::to_string(csv.header_line) + ":";
    for (size_t i = 0; i < csv.header.size(); ++i) out += (i ? "|" : "") + csv.header[i];
    for (const auto& row : csv.rows) {
        out += " " + std::to_string(row.line) + ":";
        for (size_t i = 0; i < row.values.size(); ++i) out += (i ? "|" : "") + row.values[i];
    }
    return out;
}

std::string parsed(const std::string& bytes) {
    try {
        return shown(parse_csv(bytes, "f.csv"));
    } catch (const CsvError& e) {
        return e.what();
    }
}

TEST(CsvReader, ReadsRealShapedFiles) {
    const std::pair<const char*, const char*> cases[] = {
        // DANE names holding the separator, quoted.
        {"coddepto,codmuni,nombre\n11,001,\"BOGOTÁ, D.C.\"\n05,001,MEDELLÍN\n",
         ", 1:coddepto|codmuni|nombre 2:11|001|BOGOTÁ, D.C. 3:05|001|MEDELLÍN"},
        // Doubled quotes inside a quoted value.
        {"codigo,descripcion\nM482,\"ESPONDILOSIS \"\"EN BESO\"\"\"\n",
         ", 1:codigo|descripcion 2:M482|ESPONDILOSIS \"EN BESO\""},
        // A line break inside quotes, CR LF line ends: the next record is on line 4.
        {"a,b\r\n1,\"x\r\ny\"\r\n2,z\r\n", ", 1:a|b 2:1|x\r\ny 4:2|z"},
        // The Ministry's export: UTF-8 with a byte-order mark, ';' as the separator.
        {"\xEF\xBB\xBF"
         "Codigo;Nombre;Extra_I:UsoCodigoCUP\n890201;CONSULTA, PRIMERA VEZ;AC\n",
         "; 1:Codigo|Nombre|Extra_I:UsoCodigoCUP 2:890201|CONSULTA, PRIMERA VEZ|AC"},
        // Windows-1252, as a spreadsheet saves it.
        {"coddepto,nombre\r\n05,ANTIOQU\xCD"
         "A\r\n",
         ", 1:coddepto|nombre 2:05|ANTIOQUÍA"},
        // Blank lines skipped, blanks around unquoted values trimmed, CR alone ends a line.
        {"\r a , b \r\r 1 , \" 2 \" \r", ", 2:a|b 4:1| 2 "},
        // A separator counted only outside quotes; an empty last value; a quote inside an
        // unquoted value kept.
        {"\"a;b\",c\n5\" X,\n", ", 1:a;b|c 2:5\" X|"},
        // Faults name the line where their record begins.
        {"a,b\n1,\"x\ny\"\n2\n", "Línea 4 de f.csv: tiene 1 valores y el encabezado 2"},
        {"a,b\n1,2,3\n", "Línea 2 de f.csv: tiene 3 valores y el encabezado 2"},
        {"a,b\n1,2\n3,\"abc\n4,5\n", "Línea 3 de f.csv: comillas sin cerrar"},
        {"a,b\n\"x\"y,2\n",
         "Línea 2 de f.csv: hay texto después de las comillas que cierran un valor"},
        {"", "El archivo f.csv está vacío."},
        {"\xEF\xBB\xBF", "El archivo f.csv está vacío."},
        {"\r\n   \n", "El archivo f.csv no tiene línea de encabezado."},
    };
    for (auto [bytes, expected] : cases) EXPECT_EQ(parsed(bytes), expected) << bytes;
}

}  // namespace
}  // namespace corvela
