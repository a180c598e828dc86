#include "db/schema.h"

namespace corvela {

namespace {
ColumnDefinition text(const char* name, std::string_view constraint = {}) {
    return {name, ColumnType::Text, constraint};
}
ColumnDefinition exact(const char* name, std::string_view constraint = {}) {
    return {name, ColumnType::ExactText, constraint};
}
ColumnDefinition number(const char* name) {
    return {name, ColumnType::Number};
}

// The columns of a data file type's working and final tables, as the registry gives them.
TableColumns file_columns(const FileType& type) {
    TableColumns columns;
    for (const Column& c : type.columns) columns.push_back({c.name, c.type});
    return columns;
}

// The error table: the keys of a data file's row, then its thirty counters.
void create_errors_table(Database& db) {
    TableColumns columns = {number("nro_radicacion"), text("COD_EAPB"), text("tipo"),
                            text("nro_remision")};
    for (int i = 1; i <= 30; ++i) columns.push_back({"C" + std::to_string(i), ColumnType::Number});
    db.create_table("ERRORES", columns);
}

// What every desk shares: the numbering, the bookkeeping of saved deliveries, the sites, the EAPB
// registry and the report views.
void create_shared_extra(Database& db) {
    db.create_table("consecutivo", {number("numero"), exact("fecha")});
    db.exec("INSERT INTO consecutivo (numero, fecha) VALUES (0, NULL)");
    db.create_table("registros",
                    {text("archivo"), text("remitidos"), number("leidos"), number("pasaron"),
                     number("Errados"), text("eapb"), text("remitente"), text("periodo_reportado"),
                     text("nro_remision"), text("fecha_remision"), number("suben"),
                     number("IMPRESION"), number("nro_radicacion"), text("sede", "DEFAULT ''")});
    db.create_table("radicacion", {number("nro_radicacion"), text("COD_IPS"), text("nro_remision"),
                                   exact("fecha_validacion"), exact("fecha_remision")});
    db.create_table("periodos",
                    {text("COD_EAPB"), text("num_remision"), number("mes"), number("ano")});
    db.create_table("sedes", {text("habilitacion", "PRIMARY KEY"), text("nombre"), text("gerente"),
                              text("DIRECCION"), text("fax"), text("TELEFONO")});
    db.create_table("TR_instituciones", {text("codigo"), text("nombre"), text("tipo")});
    db.create_table("gerentes", {text("administradora"), text("responsable"), text("DIRECCION"),
                                 text("fax"), text("TELEFONO"), text("coddepto"), text("codmuni")});
    db.create_table("tr_administradoras", {text("codigo"), text("nombre"), text("tipo")});
    db.create_table("departamentos", {text("coddepto"), text("nombre")});
    db.create_table("municipios", {text("coddepto"), text("codmuni"), text("nombre")});
    db.exec(R"SQL(
CREATE VIEW impre_registros AS
  SELECT registros.*, sedes.nombre AS nombre FROM registros
  LEFT JOIN sedes ON sedes.habilitacion = registros.eapb;
CREATE VIEW informe_validacion AS
  SELECT registros.eapb AS habilitacion, registros.nro_remision AS nro_remision,
         registros.IMPRESION AS impresion, registros.nro_radicacion AS nro_radicacion,
         registros.archivo AS Archivo, registros.leidos AS Leidos, registros.Errados AS Errados,
         registros.pasaron AS pasaron, registros.suben AS SUBEN
  FROM registros;
)SQL");
}

// What one desk keeps to itself: the run's months, the run state and its control-file table.
void create_desk_extra(Database& db) {
    db.create_table("fechas", {number("mes"), number("ano")});
    db.exec(
        "CREATE INDEX usuario_documento ON usuario (tipo_identificacion, numero_identificacion)");
    db.create_table("estado_corrida", {exact("clave", "PRIMARY KEY"), exact("valor")});
    TableColumns control = {{"fila", ColumnType::RowNumber, "PRIMARY KEY"}};
    for (int i = 0; i <= 5; ++i) control.push_back(exact(("c" + std::to_string(i)).c_str()));
    db.create_table("control_corrida", control);
}

// A code table of the reference database: its code, then its description.
void create_code_table(Database& db, const char* name, const char* code) {
    db.create_table(name, {text(code), exact("descripcion")});
}

void create_reference_tables(Database& db) {
    db.create_table("R_Campos", {text("ARCHIVO"), number("id"), number("Long"), text("tipo"),
                                 text("tabla"), text("dato")});
    db.exec("CREATE INDEX R_Campos_archivo ON R_Campos (ARCHIVO, id)");
    create_code_table(db, "R_TIPO_DOCUMENTO", "CODIGO");
    create_code_table(db, "R_TIPO_DOCUMENTO1", "CODIGO");
    create_code_table(db, "R_AD_conceptos", "id");
    create_code_table(db, "R_tipo_usuario", "CODIGO");
    create_code_table(db, "r_finalidad_consulta", "id");
    create_code_table(db, "r_causa_externa", "CODIGO");
    db.create_table("r_cie10", {text("codigo"), exact("descripcion"), text("sexo"),
                                exact("lim_inf"), exact("lim_sup")});
    db.exec("CREATE INDEX r_cie10_codigo ON r_cie10 (codigo)");
    db.create_table("cups", {text("codigo"), text("archivo"), exact("descripcion"), text("sexo"),
                             exact("edad_ini"), exact("edad_fin")});
    db.exec("CREATE INDEX cups_codigo ON cups (codigo, archivo)");
    db.create_table("r_municipios", {text("coddepto"), text("codmuni"), text("nombre")});
}
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
    // The name (letter case aside), the desk it works on, the password's hash and when it was
    // set. On a server the table is among those every desk shares.
    db.create_table(
        db.on_server() ? "corvela.cuentas_web" : "cuentas_web",
        {text("nombre", "PRIMARY KEY"), exact("puesto"), exact("clave"), exact("cambiada")}, true);
}

void create_shared_tables(Database& db) {
    for (const auto& t : file_types()) db.create_table(t.final, file_columns(t));
    create_errors_table(db);
    create_shared_extra(db);
    create_accounts_table(db);
}

void create_desk_tables(Database& db) {
    for (const auto& t : file_types()) db.create_table(t.table, file_columns(t));
    create_errors_table(db);
    create_desk_extra(db);
}

void create_working_schema(Database& db) {
    Transaction tx(db);
    for (const auto& t : file_types()) {
        db.create_table(t.table, file_columns(t));
        db.create_table(t.final, file_columns(t));
    }
    create_errors_table(db);
    create_shared_extra(db);
    create_desk_extra(db);
    create_accounts_table(db);
    db.set_schema_version(kSchemaVersion);
    tx.commit();
}

void create_reference_schema(Database& db) {
    Transaction tx(db);
    create_reference_tables(db);
    db.set_schema_version(kSchemaVersion);
    tx.commit();
}

}  // namespace corvela
