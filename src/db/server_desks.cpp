#include "db/server_desks.h"

#include "db/file_types.h"
#include "db/schema.h"
#include "db/server_database.h"

namespace corvela {

namespace {
// The text functions the embedded engine's connections register, as SQL functions of the
// server: `val` reads the leading number of a text (0 when there is none, or when it is out of a
// double's range: too large is no number, too small rounds to 0), `mid` takes characters from a
// 1-based start, `month` and `year` read an ISO date text (null when it is no real day, as
// `iso_day` finds).
const char* const kServerFunctions = R"SQL(
CREATE EXTENSION IF NOT EXISTS citext WITH SCHEMA public;
CREATE FUNCTION corvela.val(s text) RETURNS double precision LANGUAGE plpgsql IMMUTABLE STRICT
  AS $$
BEGIN
  RETURN coalesce(substring(ltrim(s, ' ')
    FROM '^[+-]?(?:[0-9]+(?:\.[0-9]*)?|\.[0-9]+)(?:[eE][+-]?[0-9]+)?')::double precision, 0) + 0;
EXCEPTION WHEN numeric_value_out_of_range THEN RETURN 0;
END $$;
CREATE FUNCTION corvela.val(n double precision) RETURNS double precision LANGUAGE sql IMMUTABLE
  STRICT AS $$ SELECT n $$;
CREATE FUNCTION corvela.mid(s text, start bigint) RETURNS text LANGUAGE sql IMMUTABLE STRICT AS $$
  SELECT CASE WHEN start < 0 THEN '' ELSE substr(s, greatest(start, 1)::integer) END
$$;
CREATE FUNCTION corvela.mid(s text, start bigint, len bigint) RETURNS text LANGUAGE sql IMMUTABLE
  STRICT AS $$
  SELECT CASE WHEN start < 0 THEN ''
              WHEN len < 0 THEN substr(s, greatest(start, 1)::integer)
              ELSE substr(s, greatest(start, 1)::integer, least(len, 2147483647)::integer) END
$$;
CREATE FUNCTION corvela.iso_day(s text) RETURNS date LANGUAGE plpgsql IMMUTABLE STRICT AS $$
BEGIN
  IF s !~ '^[0-9]{4}-[0-9]{2}-[0-9]{2}$' THEN RETURN NULL; END IF;
  RETURN s::date;
EXCEPTION WHEN others THEN RETURN NULL;
END $$;
CREATE FUNCTION corvela.month(s text) RETURNS integer LANGUAGE sql IMMUTABLE STRICT AS $$
  SELECT extract(month FROM corvela.iso_day(s))::integer
$$;
CREATE FUNCTION corvela.year(s text) RETURNS integer LANGUAGE sql IMMUTABLE STRICT AS $$
  SELECT extract(year FROM corvela.iso_day(s))::integer
$$;
)SQL";
}  // namespace

bool server_has_installation(Database& db) {
    return db.count("SELECT 1 FROM pg_catalog.pg_namespace WHERE nspname = 'corvela'") > 0;
}

void create_server_objects(Database& db) {
    db.exec(std::string("CREATE SCHEMA corvela; CREATE SCHEMA referencia;") + kServerFunctions);
}

bool desk_exists(Database& db, const std::string& desk) {
    return db.count("SELECT 1 FROM pg_catalog.pg_namespace WHERE nspname = ?", desk_schema(desk)) >
           0;
}

bool server_before_desks(Database& db) {
    return db.count(
               "SELECT 1 FROM pg_catalog.pg_tables WHERE schemaname = 'corvela' AND "
               "tablename = 'estado_corrida'") > 0;
}

void add_desk(Database& db, const std::string& desk) {
    db.exec("CREATE SCHEMA " + desk_schema(desk));
    create_desk_tables(db);
}

void move_into_principal(Database& db) {
    const std::string schema = desk_schema("principal");
    db.exec("CREATE SCHEMA " + schema);
    for (const auto& t : file_types())
        db.exec("ALTER TABLE corvela." + std::string(t.table) + " SET SCHEMA " + schema);
    for (const char* t : {"fechas", "estado_corrida", "control_corrida"})
        db.exec("ALTER TABLE corvela." + std::string(t) + " SET SCHEMA " + schema);
    // Named with its schema: the connection may be another desk's, not made yet.
    db.exec("CREATE TABLE " + schema +
            ".ERRORES (LIKE corvela.ERRORES INCLUDING DEFAULTS INCLUDING IDENTITY)");
    const std::string columns = error_columns();
    db.exec("INSERT INTO " + schema + ".ERRORES (" + columns + ") SELECT " + columns +
            " FROM corvela.ERRORES WHERE nro_radicacion = 0 ORDER BY rowid");
    db.exec("DELETE FROM corvela.ERRORES WHERE nro_radicacion = 0");
}

}  // namespace corvela
