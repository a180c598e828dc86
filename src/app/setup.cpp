#include "app/setup.h"

#include <fstream>
#include <functional>

#include "app/program.h"
#include "app/reference_data.h"
#include "db/csv_reader.h"
#include "db/schema.h"
#include "db/server_database.h"
#include "db/server_desks.h"
#include "platform/config.h"
#include "platform/fault_injection.h"
#include "platform/program_path.h"
#include "platform/text.h"

namespace corvela {

std::filesystem::path default_reference_folder(const char* argv0) {
    // Installed: bin/../share/corvela/reference; run from a build tree: the tree's data copy.
    auto exe = running_program_path(argv0);
    std::error_code ec;
    if (!exe.empty()) {
        for (auto p : {exe.parent_path().parent_path() / "share/corvela/reference",
                       exe.parent_path() / "data/reference"})
            if (std::filesystem::is_directory(p, ec)) return p;
    }
#ifdef CORVELA_REFERENCE_DIR
    return CORVELA_REFERENCE_DIR;
#else
    return {};
#endif
}

namespace {
// The configuration an installation's `init` writes: the folders (and the server, when there is
// one).
Configuration new_configuration(const std::filesystem::path& db_folder,
                                const std::string& results_root, const std::string& server,
                                const std::string& desk) {
    Configuration cfg;
    cfg.database_folder = std::filesystem::absolute(db_folder).lexically_normal().string();
    if (cfg.database_folder.empty() ||
        (cfg.database_folder.back() != '/' && cfg.database_folder.back() != '\\'))
        cfg.database_folder += std::filesystem::path::preferred_separator;
    std::string root = results_root.empty()
                           ? std::filesystem::absolute(db_folder).lexically_normal().string()
                           : std::filesystem::absolute(results_root).lexically_normal().string();
    while (root.size() > 1 && (root.back() == '/' || root.back() == '\\')) root.pop_back();
    cfg.results_root = root;
    cfg.server = server;
    if (!desk.empty()) cfg.desk = desk;
    return cfg;
}

// The lines of a configuration file, each ended by CR LF.
std::string configuration_lines(const Configuration& cfg, bool desk_given) {
    return cfg.database_folder + "," + cfg.results_root + "\r\n" +
           (cfg.server.empty() ? "" : "servidor=" + cfg.server + "\r\n") +
           (desk_given ? "puesto=" + cfg.desk + "\r\n" : "");
}

// What `init` says of a configuration file that exists and is left as it is: nothing when it
// names the new installation already, else the lines that must stand for its own (the first, and
// the server's) so that it names one installation, never a server under the folder of another.
std::string existing_configuration_advice(const std::filesystem::path& config_path,
                                          const Configuration& wanted, const std::string& lines) {
    auto kept = read_configuration(config_path);
    const Configuration old = kept.value_or({});
    if (kept.ok() && old.database_folder == wanted.database_folder &&
        old.results_root == wanted.results_root && old.server == wanted.server &&
        (wanted.server.empty() || old.desk == wanted.desk))
        return "";
    std::string shown = lines;
    std::erase(shown, '\r');
    std::string still;
    if (kept.ok() && old.database_folder != wanted.database_folder)
        still = ": sigue nombrando la carpeta " + old.database_folder;
    std::string replaced;
    if (!wanted.server.empty())
        replaced = "su primera línea y sus líneas servidor= y puesto= deben ser estas:\n";
    else if (kept.ok() && !old.server.empty())
        replaced = "su primera línea debe ser esta, sin sus líneas servidor= y puesto=:\n";
    else
        replaced = "su primera línea debe ser esta:\n";
    return "\nEl archivo de configuración " + config_path.string() + " ya existe y no se cambió" +
           still + ".\nPara usar la instalación nueva, " + replaced + shown + "O escríba" +
           (wanted.server.empty() ? "la" : "las") +
           " en un archivo nuevo y nómbrelo con --config ARCHIVO en cada orden; el actual sigue "
           "sirviendo a la instalación que nombra.";
}

// Writes the configuration file naming the folders (and the server, when there is one) unless a
// file is there already: the text to add to the message.
Result<std::string> write_configuration(const std::filesystem::path& db_folder,
                                        const std::string& results_root,
                                        const std::filesystem::path& config_path,
                                        const std::string& server, const std::string& desk) {
    std::error_code ec;
    const Configuration wanted = new_configuration(db_folder, results_root, server, desk);
    const std::string lines = configuration_lines(wanted, !desk.empty());
    if (std::filesystem::exists(config_path, ec))
        return Result<std::string>::done(existing_configuration_advice(config_path, wanted, lines));
    std::filesystem::create_directories(config_path.parent_path(), ec);
    std::ofstream cfg(config_path, std::ios::binary);
    // A file that names a server is its owner's alone.
    if (!server.empty())
        std::filesystem::permissions(
            config_path, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write,
            ec);
    cfg << lines;
    if (!cfg)
        return Result<std::string>::failed("No se pudo escribir el archivo de configuración " +
                                           config_path.string());
    return Result<std::string>::done("\nArchivo de configuración escrito: " + config_path.string());
}

// A desk added to a server that holds an installation, in the caller's transaction; a server
// made before desks first has its working tables, run state and unsaved error rows moved into
// `principal`.
Result<std::string> add_desk_to_server(Database& work, const std::string& desk) {
    const bool moved = server_before_desks(work);
    if (moved) move_into_principal(work);
    if (desk_exists(work, desk)) {
        if (!(moved && desk == "principal"))
            return Result<std::string>::failed("El puesto ya existe.");
    } else {
        add_desk(work, desk);
    }
    return Result<std::string>::done(
        std::string(moved ? "Tablas de trabajo del servidor pasadas al puesto principal. " : "") +
        "Puesto " + desk + " creado en el servidor");
}

// The installation's tables on a server (those every desk shares and the desk's own, the schemas
// and text functions) with the reference rows; or, with `desk_given` on a server that holds an
// installation, the desk alone. All of it in one transaction of one connection, committed once
// the configuration file is written: a failure or a stop at any point leaves the server as it
// was, so that `init` can simply be run again.
Result<std::string> init_on_server(const std::string& server,
                                   const std::filesystem::path& reference_folder,
                                   const Clock& clock, const std::string& desk, bool desk_given,
                                   const std::function<Result<std::string>()>& configure) {
    std::unique_ptr<Database> db;
    try {
        db = open_server(server, ServerSchema::Working, desk);
    } catch (const std::exception& e) {
        return Result<std::string>::failed(std::string("No se pudo preparar el servidor: ") +
                                           e.what());
    }
    const bool installed = server_has_installation(*db);
    if (installed && !desk_given)
        return Result<std::string>::failed(
            "El servidor ya tiene las tablas de Corvela; no se sobrescriben.");
    try {
        Transaction tx(*db);
        Result<std::string> made = Result<std::string>::done("");
        if (installed) {
            made = add_desk_to_server(*db, desk);
            if (!made.ok()) return made;
        } else {
            create_server_objects(*db);
            create_shared_tables(*db);
            add_desk(*db, desk);
            fault_point("init:tablas");
            // The reference tables and rows on the same connection, seen as a reference
            // connection sees them.
            use_reference_schema(*db);
            create_reference_schema(*db);
            load_reference_rows(*db, *db, reference_folder, clock);
            fault_point("init:referencia");
            made = Result<std::string>::done("Tablas creadas en el servidor, puesto " + desk);
        }
        auto written = configure();
        if (!written.ok()) return written;
        tx.commit();
        return Result<std::string>::done(made.value() + written.value());
    } catch (const std::exception& e) {
        return Result<std::string>::failed(
            std::string(installed ? "No se pudo crear el puesto: "
                                  : "No se pudieron crear las tablas en el servidor: ") +
            e.what());
    }
}
}  // namespace

Result<std::string> init_installation(const std::filesystem::path& db_folder,
                                      const std::string& results_root,
                                      const std::filesystem::path& reference_folder,
                                      const std::filesystem::path& config_path, const Clock& clock,
                                      const std::string& server, const std::string& desk) {
    std::error_code ec;
    std::filesystem::create_directories(db_folder, ec);
    if (!results_root.empty()) std::filesystem::create_directories(results_root, ec);
    if (!server.empty()) {
        if (names_password(server)) return Result<std::string>::failed(kPasswordText);
        if (!std::filesystem::is_directory(reference_folder, ec))
            return Result<std::string>::failed("No existe la carpeta de datos de referencia " +
                                               reference_folder.string());
        // The configuration is written before the server's tables are committed, so that a stop
        // between the two leaves no server without the configuration that names it.
        auto configure = [&] {
            auto written = write_configuration(db_folder, results_root, config_path, server, desk);
            if (!written.ok()) return written;
            return Result<std::string>::done("; carpeta de la instalación " + db_folder.string() +
                                             written.value());
        };
        return init_on_server(server, reference_folder, clock, desk.empty() ? "principal" : desk,
                              !desk.empty(), configure);
    }
    auto work_path = db_folder / "registros_ips.db";
    auto ref_path = db_folder / "Ref_rips.db";
    for (const auto& p : {work_path, ref_path})
        if (std::filesystem::exists(p, ec))
            return Result<std::string>::failed("Ya existe la base de datos " + p.string() +
                                               "; no se sobrescribe.");
    if (!std::filesystem::is_directory(reference_folder, ec))
        return Result<std::string>::failed("No existe la carpeta de datos de referencia " +
                                           reference_folder.string());
    try {
        {
            auto work = Database::create(work_path.string());
            auto ref = Database::create(ref_path.string());
            create_working_schema(*work);
            create_reference_schema(*ref);
            load_reference_rows(*ref, *work, reference_folder, clock);
        }
    } catch (const std::exception& e) {
        // Nothing half made stays behind.
        for (const auto& p : {work_path, ref_path})
            for (const char* suffix : {"", "-wal", "-shm"})
                std::filesystem::remove(p.string() + suffix, ec);
        return Result<std::string>::failed(
            std::string("No se pudieron crear las bases de datos: ") + e.what());
    }
    auto written = write_configuration(db_folder, results_root, config_path, "", "");
    if (!written.ok()) return written;
    return Result<std::string>::done("Bases de datos creadas en " + db_folder.string() +
                                     written.value());
}

namespace {
std::string check_site(const Site& s) {
    if (char_length(s.habilitacion) != 12)
        return "El código de habilitación \"" + s.habilitacion + "\" no tiene 12 caracteres.";
    return {};
}

void insert_site(Database& work, const Site& s, bool replace) {
    // A site imported again replaces the one of the same code.
    Statement st = work.prepare(
        std::string("INSERT INTO sedes (habilitacion, nombre, gerente, DIRECCION, fax, TELEFONO) "
                    "VALUES (?, ?, ?, ?, ?, ?)") +
        (replace ? " ON CONFLICT (habilitacion) DO UPDATE SET nombre = excluded.nombre, gerente "
                   "= excluded.gerente, DIRECCION = excluded.DIRECCION, fax = excluded.fax, "
                   "TELEFONO = excluded.TELEFONO"
                 : ""));
    st.bind(1, s.habilitacion);
    st.bind(2, s.nombre);
    st.bind(3, s.gerente);
    st.bind(4, s.DIRECCION);
    st.bind(5, s.fax);
    st.bind(6, s.TELEFONO);
    st.exec();
}
}  // namespace

Status add_site(Database& work, const Site& site) {
    if (auto why = check_site(site); !why.empty()) return Status::failed(why);
    if (work.count("SELECT 1 FROM sedes WHERE habilitacion = ?", site.habilitacion) > 0)
        return Status::failed("La sede " + site.habilitacion + " ya está registrada.");
    insert_site(work, site, false);
    return Status::done();
}

Status import_sites(Database& work, const std::filesystem::path& path) {
    CsvContent csv;
    try {
        csv = read_csv(path);
    } catch (const CsvError& e) {
        return Status::failed(e.what());
    }
    const std::vector<std::string> header = {"habilitacion", "nombre", "gerente",
                                             "DIRECCION",    "fax",    "TELEFONO"};
    if (csv.header != header)
        return Status::failed(
            CsvError(csv.name, csv.header_line,
                     "el encabezado debe ser habilitacion,nombre,gerente,DIRECCION,fax,TELEFONO")
                .what());
    Transaction tx(work);
    for (const CsvRow& row : csv.rows) {
        const auto& r = row.values;
        Site s{r[0], r[1], r[2], r[3], r[4], r[5]};
        // A bad site is named by its line, as the reader names its faults.
        if (auto why = check_site(s); !why.empty())
            return Status::failed(CsvError(csv.name, row.line, why).what());
        insert_site(work, s, true);
    }
    tx.commit();
    return Status::done();
}

std::vector<Site> list_sites(Database& work) {
    std::vector<Site> sites;
    Statement st = work.prepare(
        "SELECT habilitacion, nombre, gerente, DIRECCION, fax, TELEFONO FROM sedes "
        "ORDER BY habilitacion");
    while (st.step()) {
        Site s;
        std::string* cols[] = {&s.habilitacion, &s.nombre, &s.gerente,
                               &s.DIRECCION,    &s.fax,    &s.TELEFONO};
        for (int i = 0; i < 6; ++i) *cols[i] = st.text(i);
        sites.push_back(s);
    }
    return sites;
}

}  // namespace corvela
