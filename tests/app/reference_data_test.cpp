// Replacing a reference table from a CSV file: headers found by name or mapped, neutral values for
// missing columns, and every bad file named by its line with the table left as it was.
#include "app/reference_data.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "platform/sha256.h"
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
                       const ColumnMapping& mapping = {}, bool sispro = false) {
        return import_reference(inst.ref(), inst.work(),
                                {table, file("t.csv", bytes), mapping, sispro}, clock)
            .why();
    }
    // The rows of a reference table, columns joined by "|", null as "null".
    std::vector<std::string> ref_rows(const std::string& table) {
        std::vector<std::string> out;
        Statement st = inst.ref().prepare("SELECT * FROM " + table + " ORDER BY rowid");
        while (st.step()) {
            std::string row;
            for (int i = 0; i < st.column_count(); ++i) {
                if (st.column_name(i) == "rowid") continue;  // the server's row numbers
                row += (row.empty() && i == 0 ? "" : "|") + (st.is_null(i) ? "null" : st.text(i));
            }
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

TEST_F(ReferenceImportTest, BadFilesAndExportsNameTheLineAndChangeNothing) {
    ASSERT_EQ(import("r_cie10", "codigo,descripcion,sexo,lim_inf,lim_sup\nJ00X,R,A,0,0\n"), "");
    ASSERT_EQ(
        import("cups", "codigo,archivo,descripcion,sexo,edad_ini,edad_fin\n890201,AC,C,A,0,0\n"),
        "");
    // The mapping is given only where a case names one.
    struct Case {
        const char* table;
        std::string bytes;
        std::string failure;
        ColumnMapping mapping = {};
    };
    const std::string cie_head =
        "Codigo,Nombre,Habilitado,Extra_II:EdadMinima,Extra_III:EdadMaxima,Extra_X:Sexo\n";
    const std::string cups_head = "Codigo;Nombre;Habilitado;Extra_I:UsoCodigoCUP;Extra_VI:Sexo\n";
    const std::string l1 = "Línea 1 de t.csv: ", l2 = "Línea 2 de t.csv: ";
    const Case cases[] = {
        {"r_cie10", "codigo,descripcion\nJ00,R\n", l2 + "codigo \"J00\" no tiene 4 caracteres"},
        {"r_cie10", "codigo,descripcion\n,R\n", l2 + "codigo vacío"},
        {"r_cie10", "codigo,descripcion\nJ00X,R\n\nj00x,S\n",
         "Línea 4 de t.csv: codigo j00x repetido; ya está en la línea 2"},
        {"r_cie10", "codigo,descripcion,sexo,lim_inf\nJ00X,R,A,4a\n",
         l2 + "lim_inf \"4a\" no es un número entero"},
        {"r_cie10", "codigo,descripcion,sexo\nJ00X,R,f\n", l2 + "sexo \"f\" no es A, F ni M"},
        {"r_cie10", "codigo,descripcion\nJ00X,\"R\n", l2 + "comillas sin cerrar"},
        {"r_cie10", "descripcion,sexo\nR,A\n", l1 + "falta la columna codigo de la tabla r_cie10"},
        {"r_cie10",
         "COD_4,descripcion\nJ00X,R\n",
         l1 + "no hay columna COD4 (--column codigo=COD4)",
         {{"codigo", "COD4"}}},
        {"r_cie10",
         "COD_4,descripcion\nJ00X,R\n",
         "--column codig=COD_4: la tabla r_cie10 no tiene la columna codig; sus columnas son "
         "codigo, descripcion, sexo, lim_inf, lim_sup.",
         {{"codig", "COD_4"}}},
        {"cups", "codigo,archivo,descripcion\n890201,AC,C\n890201,AP,C\n890201,ac,C\n",
         "Línea 4 de t.csv: codigo 890201 y archivo ac repetidos; ya están en la línea 2"},
        {"cups", "codigo,archivo,descripcion\n89020,AC,C\n",
         l2 + "codigo \"89020\" no tiene 6 caracteres"},
        {"SISPRO r_cie10",
         "Codigo,Nombre,Habilitado,Extra_II:EdadMinima,Extra_III:EdadMaxima\nJ00X,R,SI,0,0\n",
         "Línea 1 de t.csv: falta la columna Extra_X:Sexo de la exportación de SISPRO"},
        {"SISPRO r_cie10", cie_head + "A000,R,SI,0,0,A\nJ00X,R,SI,1O,20,A\n",
         "Línea 3 de t.csv: Extra_II:EdadMinima \"1O\" no es un número entero de años"},
        {"SISPRO r_cie10", cie_head + "J00X,R,SI,0,0,X\n",
         "Línea 2 de t.csv: Extra_X:Sexo \"X\" no es A, F, M ni Z"},
        {"SISPRO r_cie10", cie_head + "J00X,R,SI,100,120,A\n",
         "Línea 2 de t.csv: la edad mínima 100 no cabe en un límite (0 a 99)"},
        {"SISPRO r_cie10", cie_head + "J00X,R,SI,20,10,A\n",
         "Línea 2 de t.csv: la edad mínima 20 es mayor que la máxima 10"},
        {"SISPRO r_cie10", cie_head + "J00X,R,QUIZA,0,0,A\n",
         "Línea 2 de t.csv: Habilitado \"QUIZA\" no es SI ni NO"},
        {"SISPRO r_cie10", cie_head + "J00,R,SI,0,0,A\n",
         "Línea 2 de t.csv: codigo \"J00\" no tiene 4 caracteres"},
        {"SISPRO cups", cups_head + "890201;C;SI;XX;Z\n",
         "Línea 2 de t.csv: Extra_I:UsoCodigoCUP \"XX\" no es un tipo de archivo (US, AF, AC, AP, "
         "AU, AH, AN, AM, AT, AD)"},
        {"SISPRO cups", cups_head + "890201;C;SI;AC;Z\n890201;C;SI;AC;A\n",
         "Línea 3 de t.csv: codigo 890201 y archivo AC repetidos; ya están en la línea 2"},
        {"SISPRO r_municipios", cie_head,
         "--sispro lee las exportaciones de SISPRO de r_cie10 y cups, no de r_municipios."},
    };
    const auto cie_before = ref_rows("r_cie10");
    const auto cups_before = ref_rows("cups");
    const auto muni_before = ref_rows("r_municipios");
    const long long records = inst.ref().count("SELECT * FROM cargas_referencia");
    for (const Case& c : cases) {
        // A case of the Ministry's exports names its table after "SISPRO ".
        const bool sispro = std::string_view(c.table).starts_with("SISPRO ");
        EXPECT_EQ(import(c.table + (sispro ? 7 : 0), c.bytes, c.mapping, sispro), c.failure)
            << c.bytes;
        EXPECT_EQ(ref_rows("r_cie10"), cie_before);
        EXPECT_EQ(ref_rows("cups"), cups_before);
        EXPECT_EQ(ref_rows("r_municipios"), muni_before);
    }
    EXPECT_EQ(inst.ref().count("SELECT * FROM cargas_referencia"), records);

    const auto missing = inst.dir / "missing.csv";
    EXPECT_EQ(
        import_reference(inst.ref(), inst.work(), {"r_cie10", missing, {}, false}, clock).why(),
        "No se pudo leer el archivo " + missing.string() + ": No existe el archivo o la carpeta.");
    EXPECT_EQ(
        import_reference(inst.ref(), inst.work(), {"r_cie10", inst.dir, {}, false}, clock).why(),
        "No se pudo leer el archivo " + inst.dir.string() + ": Es una carpeta.");
    EXPECT_EQ(corvela("reference import r_cie11 '" + missing.string() + "'"), 2);
    EXPECT_EQ(output(),
              "No existe la tabla de referencia r_cie11. Las tablas son: R_Campos, "
              "R_TIPO_DOCUMENTO, R_TIPO_DOCUMENTO1, R_AD_conceptos, R_tipo_usuario, "
              "r_finalidad_consulta, r_causa_externa, r_cie10, cups, r_municipios, departamentos, "
              "municipios, TR_instituciones, tr_administradoras.\nLa tabla r_cie11 no cambió.\n");
    EXPECT_EQ(ref_rows("r_cie10"), cie_before);
}

TEST_F(ReferenceImportTest, AFileThatWouldShrinkACatalogueOrSplitRecordsWronglyIsRefused) {
    ASSERT_EQ(import("r_cie10", "codigo,descripcion\nA000,X\nA001,Y\nA002,Z\n"), "");
    const auto cie = ref_rows("r_cie10");
    EXPECT_EQ(
        import("r_cie10", "codigo,descripcion\nA000,X\n"),
        "La tabla r_cie10 tiene 3 filas y t.csv trae 1, menos de la mitad: revise el archivo, "
        "o repita la orden con --yes para reemplazarla.");
    EXPECT_EQ(ref_rows("r_cie10"), cie);
    const std::string empty = (inst.dir / "vacio.csv").string();
    file("vacio.csv", "codigo,descripcion\n");
    EXPECT_EQ(corvela("reference import r_cie10 '" + empty + "' --yes"), 2);
    EXPECT_EQ(output(),
              "vacio.csv no trae filas: la tabla r_cie10 (3 filas) no se reemplaza por una vacía.\n"
              "La tabla r_cie10 no cambió.\n");
    file("uno.csv", "codigo,descripcion\nA000,X\n");
    EXPECT_EQ(corvela("reference import r_cie10 '" + (inst.dir / "uno.csv").string() + "' --yes"),
              0);
    EXPECT_EQ(ref_rows("r_cie10").size(), 1u);

    // Field definitions without AC's last two fields: refused, and a run will not start on them.
    std::string defs = "ARCHIVO,id,Long,tipo,tabla,dato\n";
    Statement st = inst.ref().prepare(
        "SELECT ARCHIVO, id, Long FROM R_Campos WHERE NOT (ARCHIVO = 'AC' AND id > 15)");
    while (st.step())
        defs += st.text(0) + "," + std::to_string(st.integer(1)) + "," +
                std::to_string(st.integer(2)) + ",,,d\n";
    const char* fault =
        "Las definiciones de campos de AC tienen 15 campos y Corvela guarda 17: importe un "
        "R_Campos completo.";
    EXPECT_EQ(import("R_Campos", defs), fault);
    EXPECT_EQ(inst.ref().count("SELECT * FROM R_Campos"), 148);
    inst.ref().exec("DELETE FROM R_Campos WHERE ARCHIVO = 'AC' AND id > 15");
    write_delivery("000001");
    EXPECT_EQ(run().ending(), Ending::Stopped);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, fault);
    EXPECT_TRUE(ui.questions.empty());
}

// The Ministry's exports: other columns ignored, disabled rows left out, sexes and ages in years
// turned into the table's codes, five-digit CUPS codes padded or dropped.
TEST_F(ReferenceImportTest, ConvertsTheMinistrysExportsRowByRow) {
    const std::string cie =
        "Tabla,Codigo,Nombre,Descripcion,Habilitado,Extra_I:AplicaASexo,Extra_II:EdadMinima,"
        "Extra_III:EdadMaxima,Extra_X:Sexo,Fecha_Actualizacion\n"
        "CIE10,J00X,RINOFARINGITIS AGUDA,J00,SI,3,0,999,A,2025-11-23\n"
        "CIE10,O800,\"PARTO UNICO ESPONTANEO, PRESENTACION CEFALICA DE "
        "VERTICE\",O80,SI,2,10,54,F,\n"
        "CIE10,C61X,TUMOR MALIGNO DE LA PROSTATA,C61,SI,1,10,120,M,\n"
        "CIE10,P000,FETO Y RECIEN NACIDO AFECTADOS POR TRASTORNOS HIPERTENSIVOS,P00,SI,3,0,0,A,\n"
        "CIE10,Z001,CONTROL DE SALUD DE RUTINA DEL NIÑO,Z00,SI,3,,4,A,\n"
        "CIE10,X999,RETIRADO,X99,NO,3,0,999,A,\n"
        "CIE10,E300,PUBERTAD RETARDADA,E30,SI,3,16,18,A,\n";
    auto r = import_reference(inst.ref(), inst.work(), {"r_cie10", file("cie.csv", cie), {}, true},
                              clock);
    EXPECT_TRUE(r.ok()) << r.why();
    EXPECT_EQ(r.value(),
              "Tabla r_cie10 reemplazada con la exportación de SISPRO cie.csv: 6 filas cargadas, 1 "
              "deshabilitadas no cargadas, 0 códigos completados con un cero, 0 descartados por "
              "estar ya en el archivo.");
    EXPECT_EQ(ref_rows("r_cie10"),
              (std::vector<std::string>{
                  "J00X|RINOFARINGITIS AGUDA|A|0|0",
                  "O800|PARTO UNICO ESPONTANEO, PRESENTACION CEFALICA DE VERTICE|F|410|454",
                  "C61X|TUMOR MALIGNO DE LA PROSTATA|M|410|599",
                  "P000|FETO Y RECIEN NACIDO AFECTADOS POR TRASTORNOS HIPERTENSIVOS|A|0|400",
                  "Z001|CONTROL DE SALUD DE RUTINA DEL NIÑO|A|0|404",
                  "E300|PUBERTAD RETARDADA|A|416|418"}));

    // The RIPS CUPS export: ';', UTF-8 with a byte-order mark, Z for both sexes.
    file("cups.csv",
         "\xEF\xBB\xBFTabla;Codigo;Nombre;Descripcion;Habilitado;Extra_I:UsoCodigoCUP;Extra_II;"
         "Extra_VI:Sexo\n"
         "CUPSRips;890201;CONSULTA DE PRIMERA VEZ POR MEDICINA GENERAL;;SI;AC;;Z\n"
         "CUPSRips;20110;PUNCION CISTERNAL;;SI;AP;;Z\n"
         "CUPSRips;020110;PUNCION CISTERNAL;;SI;AP;;Z\n"
         "CUPSRips;39300;\"IMPLANTACION; NEUROESTIMULADOR ESPINAL SOD\";;SI;AP;;Z\n"
         "CUPSRips;881431;ULTRASONOGRAFIA OBSTETRICA TRANSABDOMINAL;;SI;AP;;F\n"
         "CUPSRips;600100;PROSTATECTOMIA;;SI;AP;;M\n"
         "CUPSRips;999999;RETIRADO;;NO;AP;;Z\n");
    EXPECT_EQ(corvela("reference import cups '" + (inst.dir / "cups.csv").string() + "' --sispro"),
              0);
    EXPECT_EQ(output(),
              "Tabla cups reemplazada con la exportación de SISPRO cups.csv: 5 filas cargadas, 1 "
              "deshabilitadas no cargadas, 1 códigos completados con un cero, 1 descartados por "
              "estar ya en el archivo.\n");
    EXPECT_EQ(ref_rows("cups"), (std::vector<std::string>{
                                    "890201|AC|CONSULTA DE PRIMERA VEZ POR MEDICINA GENERAL|A|0|0",
                                    "020110|AP|PUNCION CISTERNAL|A|0|0",
                                    "039300|AP|IMPLANTACION; NEUROESTIMULADOR ESPINAL SOD|A|0|0",
                                    "881431|AP|ULTRASONOGRAFIA OBSTETRICA TRANSABDOMINAL|F|0|0",
                                    "600100|AP|PROSTATECTOMIA|M|0|0"}));
}

// What each table was loaded from: the shipped files of a new installation; a database made
// before the record existed shows "sin registro" until a table is imported.
TEST_F(ReferenceImportTest, StatusAfterInitAfterAnImportAndOnAnOldDatabase) {
    Installation made{Sample{}};
    const std::string cie_sha = sha256_hex(
        read_file(std::filesystem::path(CORVELA_SOURCE_DIR) / "data/reference/r_cie10.csv"));
    const std::string status = reference_status(made.ref(), made.work());
    EXPECT_NE(status.find("r_cie10               12634  init  r_cie10.csv               " +
                          cie_sha.substr(0, 12) + "  2026-12-06 08:30\n"),
              std::string::npos)
        << status;
    for (const char* line :
         {"\ncups                  13632  init", "\nr_municipios           1124  init",
          "\ndepartamentos            33  init", "\nmunicipios             1124  init"})
        EXPECT_NE(status.find(line), std::string::npos) << line << "\n" << status;
    EXPECT_EQ(made.rows("SELECT nombre FROM municipios WHERE coddepto = '11'"),
              std::vector<std::string>{"BOGOTÁ, D.C."});

    // This installation's reference database was made without the record.
    EXPECT_EQ(corvela("reference status"), 0);
    const std::string old = output();
    EXPECT_EQ(std::count(old.begin(), old.end(), '\n'), 14) << old;
    EXPECT_EQ(old.rfind("R_Campos              148  sin registro\nR_TIPO_DOCUMENTO        8", 0),
              0u);
    EXPECT_TRUE(old.ends_with("\ntr_administradoras      0  sin registro\n")) << old;
    // The first import makes the record; the other tables stay as they were.
    const std::string muni = "coddepto,codmuni,nombre\n05,001,MEDELLÍN\n05,002,ABEJORRAL\n";
    ASSERT_EQ(import("r_municipios", muni), "");
    const std::string after = reference_status(inst.ref(), inst.work());
    EXPECT_NE(after.find("\nr_municipios            2  import        t.csv  " +
                         sha256_hex(muni).substr(0, 12) + "  2026-12-06 10:00\n"),
              std::string::npos)
        << after;
    EXPECT_NE(after.find("\nr_cie10                 0  sin registro\n"), std::string::npos);
    EXPECT_EQ(inst.ref().count("SELECT * FROM R_Campos"), 148);
}

}  // namespace
}  // namespace corvela::testing
