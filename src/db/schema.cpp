#include "db/schema.h"

#include <fmt/format.h>

namespace corvela {

namespace {
// Working tables: columns after the record fields, in record order. `T` is text, `N` a number,
// `D` a date (ISO text). Every table ends with `num_radicacion`; medications add `fecha`.
struct ColumnDef {
    const char* name;
    char kind;
};

struct TableDef {
    const char* table;
    const char* final;
    std::vector<ColumnDef> columns;
};

const std::vector<TableDef>& table_defs() {
    static const std::vector<TableDef> defs = {
        {"usuario",
         "f_usuario",
         {{"tipo_identificacion", 'T'},
          {"numero_identificacion", 'T'},
          {"COD_EAPB", 'T'},
          {"tipo_usuario", 'T'},
          {"primer_apellido", 'T'},
          {"segundo_apellido", 'T'},
          {"primer_nombre", 'T'},
          {"segundo_nombre", 'T'},
          {"edad", 'N'},
          {"unidad_medida", 'T'},
          {"sexo", 'T'},
          {"cod_depto", 'T'},
          {"cod_muni", 'T'},
          {"ZONA_RESIDENCIA", 'T'},
          {"num_radicacion", 'N'}}},
        {"transacciones",
         "f_transacciones",
         {{"COD_IPS", 'T'},
          {"razon_social", 'T'},
          {"tipo_identificacion", 'T'},
          {"num_identificacion", 'T'},
          {"num_factura", 'T'},
          {"fecha_expedicion", 'D'},
          {"fecha_inicio", 'D'},
          {"fecha_final", 'D'},
          {"COD_EAPB", 'T'},
          {"nombre_eapb", 'T'},
          {"num_contrato", 'T'},
          {"plan", 'T'},
          {"num_poliza", 'T'},
          {"valor_copago", 'N'},
          {"valor_comision", 'N'},
          {"valor_descuento", 'N'},
          {"valor_neto", 'N'},
          {"num_radicacion", 'N'}}},
        {"consulta",
         "f_consulta",
         {{"num_factura", 'T'},
          {"COD_IPS", 'T'},
          {"tipo_identificacion", 'T'},
          {"num_identificacion", 'T'},
          {"fecha_consul", 'D'},
          {"num_autorizacion", 'T'},
          {"cod_consul", 'T'},
          {"finalidad_consul", 'T'},
          {"causa_externa", 'T'},
          {"cod_diag_prin", 'T'},
          {"cod_diag_r1", 'T'},
          {"cod_diag_r2", 'T'},
          {"cod_diag_r3", 'T'},
          {"tipo_diag", 'T'},
          {"valor_consul", 'N'},
          {"valor_cuota", 'N'},
          {"valor_neto", 'N'},
          {"num_radicacion", 'N'}}},
        {"procedimientos",
         "f_procedimientos",
         {{"num_factura", 'T'},
          {"COD_IPS", 'T'},
          {"tipo_identificacion", 'T'},
          {"num_identificacion", 'T'},
          {"fecha", 'D'},
          {"num_autorizacion", 'T'},
          {"cod_proci", 'T'},
          {"ambito", 'T'},
          {"finalidad", 'T'},
          {"personal", 'T'},
          {"diag_prin", 'T'},
          {"diag_r1", 'T'},
          {"complicacion", 'T'},
          {"forma_acto", 'T'},
          {"valor", 'N'},
          {"num_radicacion", 'N'}}},
        {"urgencias",
         "f_urgencias",
         {{"num_factura", 'T'},
          {"COD_IPS", 'T'},
          {"tipo_identificacion", 'T'},
          {"num_identificacion", 'T'},
          {"fecha_ingreso", 'D'},
          {"hora_ingreso", 'T'},
          {"num_autorizacion", 'T'},
          {"causa_externa", 'T'},
          {"diag_prin", 'T'},
          {"diag_r1", 'T'},
          {"diag_r2", 'T'},
          {"diag_r3", 'T'},
          {"destino", 'T'},
          {"estado", 'T'},
          {"causa_muerte", 'T'},
          {"fecha_salida", 'D'},
          {"hora_salida", 'T'},
          {"num_radicacion", 'N'}}},
        {"hospitalizacion",
         "f_hospitalizacion",
         {{"num_factura", 'T'},     {"COD_IPS", 'T'},          {"tipo_identi", 'T'},
          {"NUMERO_IDENTI", 'T'},   {"via_ingreso", 'T'},      {"fecha_ingreso", 'D'},
          {"hora_ingreso", 'T'},    {"num_autorizacion", 'T'}, {"causa_externa", 'T'},
          {"diag_prin_ingre", 'T'}, {"diag_prin_egre", 'T'},   {"diag_egre1", 'T'},
          {"diag_egre2", 'T'},      {"diag_egre3", 'T'},       {"diag_compli", 'T'},
          {"estado_salida", 'T'},   {"diag_muerte", 'T'},      {"fecha_egre", 'D'},
          {"hora_egre", 'T'},       {"num_radicacion", 'N'}}},
        {"nacidos",
         "f_nacidos",
         {{"num_factura", 'T'},
          {"COD_IPS", 'T'},
          {"tipo_identificacion", 'T'},
          {"numero_identificacion", 'T'},
          {"fecha_naci", 'D'},
          {"HORA", 'T'},
          {"edad_gestacional", 'N'},
          {"control_prena", 'T'},
          {"sexo", 'T'},
          {"peso", 'N'},
          {"diag_rn", 'T'},
          {"causa_muerte", 'T'},
          {"fecha_muerte", 'D'},
          {"hora_muerte", 'T'},
          {"num_radicacion", 'N'}}},
        {"medicamentos",
         "f_medicamentos",
         {{"num_factura", 'T'},
          {"COD_IPS", 'T'},
          {"tipo_identificacion", 'T'},
          {"num_identificacion", 'T'},
          {"num_autorizacion", 'T'},
          {"cod_medicamento", 'T'},
          {"tipo_medi", 'T'},
          {"nombre_medi", 'T'},
          {"forma_farm", 'T'},
          {"concentracion", 'T'},
          {"unidad_medica", 'T'},
          {"unidades", 'N'},
          {"valor_unitario", 'N'},
          {"valor_total", 'N'},
          {"num_radicacion", 'N'},
          {"fecha", 'D'}}},
        {"Otrosers",
         "f_Otrosers",
         {{"num_factura", 'T'},
          {"COD_IPS", 'T'},
          {"tipo_identificacion", 'T'},
          {"num_identificacion", 'T'},
          {"num_autorizacion", 'T'},
          {"tipo_serv", 'T'},
          {"cod_serv", 'T'},
          {"nombre_serv", 'T'},
          {"cantidad", 'N'},
          {"valor_unitario", 'N'},
          {"valor_total", 'N'},
          {"num_radicacion", 'N'}}},
        {"descripcion",
         "f_descripcion",
         {{"num_factura", 'T'},
          {"COD_IPS", 'T'},
          {"cod_concepto", 'T'},
          {"cantidad", 'N'},
          {"valor_unitario", 'N'},
          {"valor_total", 'N'},
          {"num_radicacion", 'N'}}},
    };
    return defs;
}

std::string column_sql(const ColumnDef& c) {
    switch (c.kind) {
        case 'N':
            return fmt::format("{} NUMERIC", c.name);
        case 'D':
            return fmt::format("{} TEXT", c.name);
        default:
            return fmt::format("{} TEXT COLLATE NOCASE", c.name);
    }
}

std::string create_table_sql(const std::string& name, const std::vector<ColumnDef>& cols) {
    std::string sql = "CREATE TABLE " + name + " (";
    for (size_t i = 0; i < cols.size(); ++i) sql += (i ? ", " : "") + column_sql(cols[i]);
    return sql + ")";
}

std::vector<ColumnDef> counters() {
    static std::vector<std::string> names;
    if (names.empty())
        for (int i = 1; i <= 30; ++i) names.push_back("C" + std::to_string(i));
    std::vector<ColumnDef> cols = {
        {"nro_radicacion", 'N'}, {"COD_EAPB", 'T'}, {"tipo", 'T'}, {"nro_remision", 'T'}};
    for (auto& n : names) cols.push_back({n.c_str(), 'N'});
    return cols;
}

const char* const kWorkingExtra = R"SQL(
CREATE TABLE consecutivo (numero NUMERIC, fecha TEXT);
INSERT INTO consecutivo (numero, fecha) VALUES (0, NULL);
CREATE TABLE registros (archivo TEXT COLLATE NOCASE, remitidos TEXT COLLATE NOCASE,
  leidos NUMERIC, pasaron NUMERIC, Errados NUMERIC, eapb TEXT COLLATE NOCASE,
  remitente TEXT COLLATE NOCASE, periodo_reportado TEXT COLLATE NOCASE,
  nro_remision TEXT COLLATE NOCASE, fecha_remision TEXT COLLATE NOCASE, suben NUMERIC,
  IMPRESION NUMERIC, nro_radicacion NUMERIC, sede TEXT COLLATE NOCASE DEFAULT '');
CREATE TABLE radicacion (nro_radicacion NUMERIC, COD_IPS TEXT COLLATE NOCASE,
  nro_remision TEXT COLLATE NOCASE, fecha_validacion TEXT, fecha_remision TEXT);
CREATE TABLE periodos (COD_EAPB TEXT COLLATE NOCASE, num_remision TEXT COLLATE NOCASE,
  mes NUMERIC, ano NUMERIC);
CREATE TABLE fechas (mes NUMERIC, ano NUMERIC);
CREATE TABLE sedes (habilitacion TEXT COLLATE NOCASE PRIMARY KEY, nombre TEXT COLLATE NOCASE,
  gerente TEXT COLLATE NOCASE, DIRECCION TEXT COLLATE NOCASE, fax TEXT COLLATE NOCASE,
  TELEFONO TEXT COLLATE NOCASE);
CREATE TABLE TR_instituciones (codigo TEXT COLLATE NOCASE, nombre TEXT COLLATE NOCASE,
  tipo TEXT COLLATE NOCASE);
CREATE TABLE gerentes (administradora TEXT COLLATE NOCASE, responsable TEXT COLLATE NOCASE,
  DIRECCION TEXT COLLATE NOCASE, fax TEXT COLLATE NOCASE, TELEFONO TEXT COLLATE NOCASE,
  coddepto TEXT COLLATE NOCASE, codmuni TEXT COLLATE NOCASE);
CREATE TABLE tr_administradoras (codigo TEXT COLLATE NOCASE, nombre TEXT COLLATE NOCASE,
  tipo TEXT COLLATE NOCASE);
CREATE TABLE departamentos (coddepto TEXT COLLATE NOCASE, nombre TEXT COLLATE NOCASE);
CREATE TABLE municipios (coddepto TEXT COLLATE NOCASE, codmuni TEXT COLLATE NOCASE,
  nombre TEXT COLLATE NOCASE);
CREATE VIEW impre_registros AS
  SELECT registros.*, sedes.nombre AS nombre FROM registros
  LEFT JOIN sedes ON sedes.habilitacion = registros.eapb;
CREATE VIEW informe_validacion AS
  SELECT registros.eapb AS habilitacion, registros.nro_remision AS nro_remision,
         registros.IMPRESION AS impresion, registros.nro_radicacion AS nro_radicacion,
         registros.archivo AS Archivo, registros.leidos AS Leidos, registros.Errados AS Errados,
         registros.pasaron AS pasaron, registros.suben AS SUBEN
  FROM registros;
CREATE INDEX usuario_documento ON usuario (tipo_identificacion, numero_identificacion);
CREATE TABLE estado_corrida (clave TEXT PRIMARY KEY, valor TEXT);
CREATE TABLE control_corrida (fila INTEGER PRIMARY KEY, c0 TEXT, c1 TEXT, c2 TEXT, c3 TEXT,
  c4 TEXT, c5 TEXT);
)SQL";

const char* const kReference = R"SQL(
CREATE TABLE R_Campos (ARCHIVO TEXT COLLATE NOCASE, id NUMERIC, Long NUMERIC,
  tipo TEXT COLLATE NOCASE, tabla TEXT COLLATE NOCASE, dato TEXT COLLATE NOCASE);
CREATE INDEX R_Campos_archivo ON R_Campos (ARCHIVO, id);
CREATE TABLE R_TIPO_DOCUMENTO (CODIGO TEXT COLLATE NOCASE, descripcion TEXT);
CREATE TABLE R_TIPO_DOCUMENTO1 (CODIGO TEXT COLLATE NOCASE, descripcion TEXT);
CREATE TABLE R_AD_conceptos (id TEXT COLLATE NOCASE, descripcion TEXT);
CREATE TABLE R_tipo_usuario (CODIGO TEXT COLLATE NOCASE, descripcion TEXT);
CREATE TABLE r_finalidad_consulta (id TEXT COLLATE NOCASE, descripcion TEXT);
CREATE TABLE r_causa_externa (CODIGO TEXT COLLATE NOCASE, descripcion TEXT);
CREATE TABLE r_cie10 (codigo TEXT COLLATE NOCASE, descripcion TEXT, sexo TEXT COLLATE NOCASE,
  lim_inf TEXT, lim_sup TEXT);
CREATE INDEX r_cie10_codigo ON r_cie10 (codigo);
CREATE TABLE cups (codigo TEXT COLLATE NOCASE, archivo TEXT COLLATE NOCASE, descripcion TEXT,
  sexo TEXT COLLATE NOCASE, edad_ini TEXT, edad_fin TEXT);
CREATE INDEX cups_codigo ON cups (codigo, archivo);
CREATE TABLE r_municipios (coddepto TEXT COLLATE NOCASE, codmuni TEXT COLLATE NOCASE,
  nombre TEXT COLLATE NOCASE);
)SQL";
}  // namespace

const std::vector<WorkingTable>& working_tables() {
    static const std::vector<WorkingTable> tables = {
        {"US", "usuario", "f_usuario"},     {"AF", "transacciones", "f_transacciones"},
        {"AC", "consulta", "f_consulta"},   {"AP", "procedimientos", "f_procedimientos"},
        {"AU", "urgencias", "f_urgencias"}, {"AH", "hospitalizacion", "f_hospitalizacion"},
        {"AN", "nacidos", "f_nacidos"},     {"AM", "medicamentos", "f_medicamentos"},
        {"AT", "Otrosers", "f_Otrosers"},   {"AD", "descripcion", "f_descripcion"},
    };
    return tables;
}

std::vector<std::string> working_columns(const std::string& table) {
    for (const auto& t : table_defs()) {
        if (t.table != table) continue;
        std::vector<std::string> names;
        for (const auto& c : t.columns) names.emplace_back(c.name);
        return names;
    }
    return {};
}

void create_working_schema(Database& db) {
    SQLite::Transaction tx(db.db());
    for (const auto& t : table_defs()) {
        db.exec(create_table_sql(t.table, t.columns));
        db.exec(create_table_sql(t.final, t.columns));
    }
    db.exec(create_table_sql("ERRORES", counters()));
    db.exec(kWorkingExtra);
    db.exec("PRAGMA user_version = " + std::to_string(kSchemaVersion));
    tx.commit();
}

void create_reference_schema(Database& db) {
    SQLite::Transaction tx(db.db());
    db.exec(kReference);
    db.exec("PRAGMA user_version = " + std::to_string(kSchemaVersion));
    tx.commit();
}

std::vector<std::string> table_columns(Database& db, const std::string& table) {
    std::vector<std::string> cols;
    SQLite::Statement st(db.db(), "SELECT name FROM pragma_table_info(?)");
    st.bind(1, table);
    while (st.executeStep()) cols.push_back(st.getColumn(0).getString());
    return cols;
}

}  // namespace corvela
