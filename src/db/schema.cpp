#include "db/schema.h"

#include <fmt/format.h>

namespace corvela {

namespace {
std::string column_sql(std::string_view name, ColumnType type) {
    switch (type) {
        case ColumnType::Number:
            return fmt::format("{} NUMERIC", name);
        case ColumnType::Date:
            return fmt::format("{} TEXT", name);
        default:
            return fmt::format("{} TEXT COLLATE NOCASE", name);
    }
}

std::string create_table_sql(std::string_view name, std::span<const Column> cols) {
    std::string sql = "CREATE TABLE " + std::string(name) + " (";
    for (size_t i = 0; i < cols.size(); ++i)
        sql += (i ? ", " : "") + column_sql(cols[i].name, cols[i].type);
    return sql + ")";
}

// The error table: the keys of a data file's row, then its thirty counters.
std::string create_errors_sql() {
    std::string sql =
        "CREATE TABLE ERRORES (nro_radicacion NUMERIC, COD_EAPB TEXT COLLATE NOCASE, "
        "tipo TEXT COLLATE NOCASE, nro_remision TEXT COLLATE NOCASE";
    for (int i = 1; i <= 30; ++i) sql += ", C" + std::to_string(i) + " NUMERIC";
    return sql + ")";
}

// What every desk shares: the numbering, the bookkeeping of saved deliveries, the sites, the EAPB
// registry and the report views.
const char* const kSharedExtra = R"SQL(
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
)SQL";

// What one desk keeps to itself: the run's months, the run state and its control-file table.
const char* const kDeskExtra = R"SQL(
CREATE TABLE fechas (mes NUMERIC, ano NUMERIC);
CREATE INDEX usuario_documento ON usuario (tipo_identificacion, numero_identificacion);
CREATE TABLE estado_corrida (clave TEXT PRIMARY KEY, valor TEXT);
CREATE TABLE control_corrida (fila INTEGER PRIMARY KEY, c0 TEXT, c1 TEXT, c2 TEXT, c3 TEXT,
  c4 TEXT, c5 TEXT);
)SQL";

// The web service's accounts: the name (letter case aside), the desk it works on, the password's
// hash and when it was set. On a server the table is among those every desk shares.
const char* const kAccountColumns =
    " (nombre TEXT COLLATE NOCASE PRIMARY KEY, puesto TEXT, clave TEXT, cambiada TEXT)";

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

std::vector<std::string> working_columns(std::string_view table) {
    for (const auto& t : file_types())
        if (t.table == table) return column_names(t);
    return {};
}

std::string error_columns() {
    std::string columns = "nro_radicacion, COD_EAPB, tipo, nro_remision";
    for (int i = 1; i <= 30; ++i) columns += ", C" + std::to_string(i);
    return columns;
}

void create_accounts_table(Database& db) {
    const std::string table = db.on_server() ? "corvela.cuentas_web" : "cuentas_web";
    db.exec(db.definitions("CREATE TABLE IF NOT EXISTS " + table + kAccountColumns));
}

void create_shared_tables(Database& db) {
    for (const auto& t : file_types())
        db.exec(db.definitions(create_table_sql(t.final, t.columns)));
    db.exec(db.definitions(create_errors_sql()));
    db.exec(db.definitions(kSharedExtra));
    create_accounts_table(db);
}

void create_desk_tables(Database& db) {
    for (const auto& t : file_types())
        db.exec(db.definitions(create_table_sql(t.table, t.columns)));
    db.exec(db.definitions(create_errors_sql()));
    db.exec(db.definitions(kDeskExtra));
}

void create_working_schema(Database& db) {
    Transaction tx(db);
    for (const auto& t : file_types()) {
        db.exec(db.definitions(create_table_sql(t.table, t.columns)));
        db.exec(db.definitions(create_table_sql(t.final, t.columns)));
    }
    db.exec(db.definitions(create_errors_sql()));
    db.exec(db.definitions(kSharedExtra));
    db.exec(db.definitions(kDeskExtra));
    create_accounts_table(db);
    db.exec(db.definitions("PRAGMA user_version = " + std::to_string(kSchemaVersion)));
    tx.commit();
}

void create_reference_schema(Database& db) {
    Transaction tx(db);
    db.exec(db.definitions(kReference));
    db.exec(db.definitions("PRAGMA user_version = " + std::to_string(kSchemaVersion)));
    tx.commit();
}

}  // namespace corvela
