// Replacing a reference table from a CSV file: headers found by name or mapped, neutral values for
// missing columns, and every bad file named by its line with the table left as it was.
#include "app/reference_data.h"

#include <gtest/gtest.h>

#include <fstream>

#include "support/session.h"

namespace corvela::testing {
namespace {

class ReferenceImportTest : public SessionTest {
  protected:
    std::filesystem::path file(const std::string& name, const std::string& bytes) {
        std::ofstream(inst.dir / name, std::ios::binary) << bytes;
        return inst.dir / name;
    }
    // Imports `bytes` into `table`; the failure text, empty when the table was replaced.
    std::string import(const std::string& table, const std::string& bytes,
                       const ColumnMapping& mapping = {}) {
        return import_reference(inst.ref(), inst.work(), table, file("t.csv", bytes), mapping)
            .failure;
    }
    // The rows of a reference table, columns joined by "|", null as "null".
    std::vector<std::string> ref_rows(const std::string& table) {
        std::vector<std::string> out;
        SQLite::Statement st(inst.ref().db(), "SELECT * FROM " + table + " ORDER BY rowid");
        while (st.executeStep()) {
            std::string row;
            for (int i = 0; i < st.getColumnCount(); ++i)
                row += (i ? "|" : "") +
                       (st.getColumn(i).isNull() ? "null" : st.getColumn(i).getString());
            out.push_back(row);
        }
        return out;
    }
};

TEST_F(ReferenceImportTest, FindsColumnsByNameOrMappingAndFillsNeutralValues) {
    // The command line maps differently named headers; the file's other columns are ignored and
    // sex and limits take their neutral values.
    file("cie.csv",
         "COD_4;DESCRIPCION_COD_4;Nombre_Capítulo\nJ00X;\"RINOFARINGITIS; AGUDA\";X\nO800;PARTO;"
         "XV\n");
    EXPECT_EQ(corvela("reference import r_cie10 '" + (inst.dir / "cie.csv").string() +
                      "' --column codigo=COD_4 --column DESCRIPCION=descripcion_cod_4"),
              0);
    EXPECT_EQ(output(), "Tabla r_cie10 reemplazada: 2 filas de cie.csv.\n");
    EXPECT_EQ(ref_rows("r_cie10"),
              (std::vector<std::string>{"J00X|RINOFARINGITIS; AGUDA|A|0|0", "O800|PARTO|A|0|0"}));

    // Headers match without regard to case or accents, in any order; an empty sex is "A".
    EXPECT_EQ(import("cups",
                     "CÓDIGO,Descripción,Archivo,sexo,EDAD_INI,edad_fin,precio\n"
                     "890201,\"CONSULTA DE PRIMERA VEZ, MEDICINA GENERAL\",AC,,0,0,1000\n"
                     "890201,CONSULTA,AP,F,412,450,\n"),
              "");
    EXPECT_EQ(ref_rows("cups"),
              (std::vector<std::string>{"890201|AC|CONSULTA DE PRIMERA VEZ, MEDICINA GENERAL|A|0|0",
                                        "890201|AP|CONSULTA|F|412|450"}));

    // The registry's lists live in the working database.
    EXPECT_EQ(import("departamentos", "coddepto,nombre\n05,ANTIOQUIA\n"), "");
    EXPECT_EQ(inst.rows("SELECT * FROM departamentos"), std::vector<std::string>{"05|ANTIOQUIA"});
}

TEST_F(ReferenceImportTest, BadFilesNameTheLineAndChangeNothing) {
    ASSERT_EQ(import("r_cie10", "codigo,descripcion,sexo,lim_inf,lim_sup\nJ00X,R,A,0,0\n"), "");
    ASSERT_EQ(
        import("cups", "codigo,archivo,descripcion,sexo,edad_ini,edad_fin\n890201,AC,C,A,0,0\n"),
        "");
    struct Case {
        const char* table;
        const char* bytes;
        ColumnMapping mapping;
        std::string failure;
    };
    const Case cases[] = {
        {"r_cie10",
         "codigo,descripcion\nJ00,R\n",
         {},
         "Línea 2 de t.csv: codigo \"J00\" no tiene 4 caracteres"},
        {"r_cie10", "codigo,descripcion\n,R\n", {}, "Línea 2 de t.csv: codigo vacío"},
        {"r_cie10",
         "codigo,descripcion\nJ00X,R\n\nj00x,S\n",
         {},
         "Línea 4 de t.csv: codigo j00x repetido; ya está en la línea 2"},
        {"r_cie10",
         "codigo,descripcion,sexo,lim_inf\nJ00X,R,A,4a\n",
         {},
         "Línea 2 de t.csv: lim_inf \"4a\" no es un número entero"},
        {"r_cie10",
         "codigo,descripcion,lim_sup\nJ00X,R,-1\n",
         {},
         "Línea 2 de t.csv: lim_sup \"-1\" no es un número entero"},
        {"r_cie10",
         "codigo,descripcion,sexo\nJ00X,R,f\n",
         {},
         "Línea 2 de t.csv: sexo \"f\" no es A, F ni M"},
        {"r_cie10",
         "codigo,descripcion\nJ00X,R,S\n",
         {},
         "Línea 2 de t.csv: tiene 3 valores y el encabezado 2"},
        {"r_cie10", "codigo,descripcion\nJ00X,\"R\n", {}, "Línea 2 de t.csv: comillas sin cerrar"},
        {"r_cie10",
         "descripcion,sexo\nR,A\n",
         {},
         "Línea 1 de t.csv: falta la columna codigo de la tabla r_cie10"},
        {"r_cie10",
         "COD_4,descripcion\nJ00X,R\n",
         {{"codigo", "COD4"}},
         "Línea 1 de t.csv: no hay columna COD4 (--column codigo=COD4)"},
        {"r_cie10",
         "COD_4,descripcion\nJ00X,R\n",
         {{"codig", "COD_4"}},
         "--column codig=COD_4: la tabla r_cie10 no tiene la columna codig; sus columnas son "
         "codigo, descripcion, sexo, lim_inf, lim_sup."},
        {"cups",
         "codigo,archivo,descripcion\n890201,AC,C\n890201,AP,C\n890201,ac,C\n",
         {},
         "Línea 4 de t.csv: codigo 890201 y archivo ac repetidos; ya están en la línea 2"},
        {"cups",
         "codigo,archivo,descripcion\n89020,AC,C\n",
         {},
         "Línea 2 de t.csv: codigo \"89020\" no tiene 6 caracteres"},
        {"cups",
         "codigo,archivo,descripcion\n890201,ACX,C\n",
         {},
         "Línea 2 de t.csv: archivo \"ACX\" no tiene 2 caracteres"},
        {"r_municipios",
         "coddepto,codmuni,nombre\n05,01,X\n",
         {},
         "Línea 2 de t.csv: codmuni \"01\" no tiene 3 caracteres"},
        {"r_municipios",
         "coddepto,codmuni,nombre\n05,001,X\n05,002,Y\n05,001,Z\n",
         {},
         "Línea 4 de t.csv: coddepto 05 y codmuni 001 repetidos; ya están en la línea 2"},
        {"r_municipios",
         "coddepto,codmuni\n05,001\n",
         {},
         "Línea 1 de t.csv: falta la columna nombre de la tabla r_municipios"},
        {"r_municipios", "", {}, "El archivo t.csv está vacío."},
        {"r_municipios", "\n\n", {}, "El archivo t.csv no tiene línea de encabezado."},
    };
    const auto cie_before = ref_rows("r_cie10");
    const auto cups_before = ref_rows("cups");
    const auto muni_before = ref_rows("r_municipios");
    for (const Case& c : cases) {
        EXPECT_EQ(import(c.table, c.bytes, c.mapping), c.failure) << c.bytes;
        EXPECT_EQ(ref_rows("r_cie10"), cie_before);
        EXPECT_EQ(ref_rows("cups"), cups_before);
        EXPECT_EQ(ref_rows("r_municipios"), muni_before);
    }

    const auto missing = inst.dir / "missing.csv";
    EXPECT_EQ(import_reference(inst.ref(), inst.work(), "r_cie10", missing).failure,
              "No se pudo leer el archivo " + missing.string() + ": No such file or directory.");
    EXPECT_EQ(import_reference(inst.ref(), inst.work(), "r_cie10", inst.dir).failure,
              "No se pudo leer el archivo " + inst.dir.string() + ": Is a directory.");
    EXPECT_EQ(corvela("reference import r_cie11 '" + missing.string() + "'"), 2);
    EXPECT_EQ(output(),
              "No existe la tabla de referencia r_cie11. Las tablas son: R_Campos, "
              "R_TIPO_DOCUMENTO, R_TIPO_DOCUMENTO1, R_AD_conceptos, R_tipo_usuario, "
              "r_finalidad_consulta, r_causa_externa, r_cie10, cups, r_municipios, departamentos, "
              "municipios, TR_instituciones, tr_administradoras.\nLa tabla r_cie11 no cambió.\n");
    EXPECT_EQ(ref_rows("r_cie10"), cie_before);
}

}  // namespace
}  // namespace corvela::testing
