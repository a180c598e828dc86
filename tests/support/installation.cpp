#include "support/installation.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <regex>
#include <sstream>
#include <stdexcept>

#include "app/setup.h"
#include "db/schema.h"
#include "db/server_database.h"
#include "db/server_desks.h"
#include "platform/config.h"

namespace corvela::testing {

namespace {
struct Lengths {
    const char* type;
    std::vector<int> lengths;
};
const std::vector<Lengths>& field_lengths() {
    static const std::vector<Lengths> l = {
        {"CT", {12, 10, 8, 10}},
        {"US", {2, 20, 6, 1, 30, 30, 20, 20, 3, 1, 1, 2, 3, 1}},
        {"AF", {12, 60, 2, 20, 20, 10, 10, 10, 6, 30, 15, 30, 10, 15, 15, 15, 15}},
        {"AC", {20, 12, 2, 20, 10, 15, 8, 2, 2, 4, 4, 4, 4, 1, 15, 15, 15}},
        {"AP", {20, 12, 2, 20, 10, 15, 8, 1, 1, 1, 4, 4, 4, 1, 15}},
        {"AU", {20, 12, 2, 20, 10, 5, 15, 2, 4, 4, 4, 4, 1, 1, 4, 10, 5}},
        {"AH", {20, 12, 2, 20, 1, 10, 5, 15, 2, 4, 4, 4, 4, 4, 4, 1, 4, 10, 5}},
        {"AN", {20, 12, 2, 20, 10, 5, 2, 1, 1, 4, 4, 4, 10, 5}},
        {"AM", {20, 12, 2, 20, 15, 20, 1, 30, 20, 20, 20, 5, 15, 15}},
        {"AT", {20, 12, 2, 20, 15, 1, 20, 60, 5, 15, 15}},
        {"AD", {20, 12, 2, 5, 15, 15}},
    };
    return l;
}
std::filesystem::path fresh_folder() {
    static std::mt19937_64 rng(std::random_device{}());
    return std::filesystem::temp_directory_path() / ("corvela-test-" + std::to_string(rng()));
}

}  // namespace

TempFolder::TempFolder() : path(fresh_folder()) {
    std::filesystem::create_directories(path);
}

TempFolder::~TempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path, ec);
}

namespace {
// The connection to the test server's database `name`.
std::string server_connection(const std::string& name) {
    return std::string("host=") + CORVELA_TEST_SERVER_DIR + " user=postgres dbname=" + name;
}

// A connection to the test server's maintenance database, for making and dropping databases.
std::unique_ptr<Database> server_admin() {
    return open_server(server_connection("postgres"), ServerSchema::Working);
}
}  // namespace

// The tests' own aggregate of the embedded engine, on the server: the texts of the values, joined
// by commas in the order they come.
void add_group_concat(Database& work) {
    work.exec(
        "CREATE FUNCTION corvela.group_concat_step(text, anyelement) RETURNS text LANGUAGE sql "
        "IMMUTABLE AS $$ SELECT CASE WHEN $2 IS NULL THEN $1 WHEN $1 IS NULL THEN $2::text ELSE "
        "$1 || ',' || $2::text END $$; CREATE AGGREGATE corvela.group_concat(anyelement) (SFUNC "
        "= corvela.group_concat_step, STYPE = text)");
}

bool Installation::on_server() {
    const char* engine = std::getenv("CORVELA_TEST_ENGINE");
    return engine && std::string(engine) == "server";
}

std::string Installation::make_server_database() {
    server_database_ =
        "corvela_" + dir.filename().string().substr(std::string("corvela-test-").size());
    // The character type and order of C: ASCII letters fold, ñ and Ñ stay apart.
    server_admin()->exec("CREATE DATABASE " + server_database_ +
                         " TEMPLATE template0 ENCODING 'UTF8' LC_COLLATE 'C' LC_CTYPE 'C'");
    server_connection_ = server_connection(server_database_);
    return server_connection_;
}

void Installation::fail_inserts(const std::string& table, const std::string& condition) {
    if (!on_server()) {
        work_->exec("CREATE TRIGGER falla BEFORE INSERT ON " + table + " WHEN " + condition +
                    " BEGIN SELECT RAISE(ABORT, 'falla'); END");
        return;
    }
    work_->exec(
        "CREATE FUNCTION falla() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN RAISE EXCEPTION "
        "'falla'; END $$; CREATE TRIGGER falla BEFORE INSERT ON " +
        table + " FOR EACH ROW WHEN (" + condition + ") EXECUTE FUNCTION falla()");
}

std::string crlf(const std::vector<std::string>& lines) {
    std::string out;
    for (const auto& l : lines) out += l + "\r\n";
    return out;
}

Installation::Installation() {
    dir = fresh_folder();
    std::filesystem::create_directories(dir / "db");
    delivery = dir / "entrega";
    results_root = dir / "res";
    std::filesystem::create_directories(delivery);
    std::filesystem::create_directories(results_root);
    std::string server;
    if (on_server()) {
        // The tables as `corvela init … --server` makes them: shared ones and the desk principal.
        server = make_server_database();
        work_ = open_server(server, ServerSchema::Working);
        create_server_objects(*work_);
        add_group_concat(*work_);
        create_shared_tables(*work_);
        add_desk(*work_, "principal");
        work_ = open_server(server, ServerSchema::Working);
        ref_ = open_server(server, ServerSchema::Reference);
    } else {
        work_ = Database::create((dir / "db" / "registros_ips.db").string());
        ref_ = Database::create((dir / "db" / "Ref_rips.db").string());
        create_working_schema(*work_);
    }
    create_reference_schema(*ref_);
    for (const auto& t : field_lengths())
        for (size_t i = 0; i < t.lengths.size(); ++i)
            insert_ref(
                "INSERT INTO R_Campos (ARCHIVO, id, Long, tipo, tabla, dato) "
                "VALUES (?, ?, ?, '', '', ?)",
                {t.type, std::to_string(i + 1), std::to_string(t.lengths[i]),
                 "Campo" + std::to_string(i + 1)});
    for (const char* c : {"CC", "CE", "PA", "RC", "TI", "AS", "MS", "NU"})
        add_code("R_TIPO_DOCUMENTO", c);
    for (const char* c : {"NI", "CC", "CE", "PA"}) add_code("R_TIPO_DOCUMENTO1", c);
    for (const char* c : {"1", "2", "3", "4", "5", "C", "S", "V", "P", "O"})
        add_code("R_tipo_usuario", c);
    for (const char* c : {"01", "02", "10"}) add_code("r_finalidad_consulta", c);
    for (const char* c : {"01", "13", "15"}) add_code("r_causa_externa", c);
    for (const char* c : {"01", "02", "12"}) add_code("R_AD_conceptos", c);
    add_municipio("76", "001");
    work_->exec(
        "INSERT INTO sedes VALUES ('760010012301', 'IPS de prueba', 'Ana Gómez', 'Calle 1', '555', "
        "'556')");
    config = dir / "ripsips.ini";
    std::ofstream(config, std::ios::binary)
        << (dir / "db").string() << "/," << results_root.string() << "\r\n"
        << (server.empty() ? "" : "servidor=" + server + "\r\n");
}

Installation::Installation(Sample) : Installation(Sample{}, on_server()) {}

Installation::Installation(Sample, Embedded) : Installation(Sample{}, false) {}

Installation::Installation(Sample, bool server_engine)
    : dir(fresh_folder()),
      config(dir / "ripsips.ini"),
      delivery(dir / "entrega"),
      results_root(dir / "res") {
    const std::filesystem::path source = CORVELA_SOURCE_DIR;
    std::filesystem::create_directories(results_root);
    const std::string server = server_engine ? make_server_database() : "";
    const auto made =
        init_installation(dir / "db", results_root.string(), source / "data/reference", config,
                          FixedClock(Date{2026, 12, 6}, 8 * 3600 + 30 * 60), server);
    if (!made.ok()) throw std::runtime_error(made.why());
    if (server_engine) {
        work_ = open_server(server, ServerSchema::Working);
        ref_ = open_server(server, ServerSchema::Reference);
        add_group_concat(*work_);
    } else {
        work_ = Database::open_existing((dir / "db" / "registros_ips.db").string());
        ref_ = Database::open_existing((dir / "db" / "Ref_rips.db").string());
    }
    if (Status sites = import_sites(*work_, source / "samples/sedes.csv"); !sites.ok())
        throw std::runtime_error(sites.why());
    std::filesystem::copy(source / "samples/entrega", delivery);
}

Installation::~Installation() {
    work_.reset();
    ref_.reset();
    if (!server_database_.empty()) {
        try {
            server_admin()->exec("DROP DATABASE " + server_database_ + " WITH (FORCE)");
        } catch (...) {
        }
    }
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
}

std::string Installation::results() const {
    return results_folder(results_root.string());
}

void Installation::add_code(const std::string& table, const std::string& code) {
    std::string column =
        table == "r_finalidad_consulta" || table == "R_AD_conceptos" ? "id" : "CODIGO";
    insert_ref("INSERT INTO " + table + " (" + column + ") VALUES (?)", {code});
}

void Installation::insert_ref(const std::string& sql, std::initializer_list<std::string> values) {
    Statement st = ref_->prepare(sql);
    int i = 0;
    for (const auto& v : values) st.bind(++i, v);
    st.exec();
}

void Installation::add_cie10(const std::string& codigo, const std::string& sexo,
                             const std::string& lim_inf, const std::string& lim_sup) {
    insert_ref("INSERT INTO r_cie10 (codigo, sexo, lim_inf, lim_sup) VALUES (?, ?, ?, ?)",
               {codigo, sexo, lim_inf, lim_sup});
}

void Installation::add_cups(const std::string& codigo, const std::string& archivo,
                            const std::string& sexo, const std::string& edad_ini,
                            const std::string& edad_fin) {
    insert_ref(
        "INSERT INTO cups (codigo, archivo, sexo, edad_ini, edad_fin) VALUES (?, ?, ?, ?, ?)",
        {codigo, archivo, sexo, edad_ini, edad_fin});
}

void Installation::add_municipio(const std::string& depto, const std::string& muni) {
    insert_ref("INSERT INTO r_municipios (coddepto, codmuni) VALUES (?, ?)", {depto, muni});
}

void Installation::write(const std::string& name, const std::string& bytes) {
    std::ofstream(delivery / name, std::ios::binary) << bytes;
}

std::string Installation::result(const std::string& name) const {
    return read_file(results() + name);
}

std::string read_file(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

std::string Installation::every_error_row(std::string sql) {
    if (!on_server()) return sql;
    // The table named without its schema.
    static const std::regex table("(^|[^.\\w])ERRORES\\b");
    return std::regex_replace(
        sql, table,
        "$1(SELECT * FROM ERRORES UNION ALL SELECT * FROM corvela.ERRORES) AS todos_errores");
}

std::vector<std::string> Installation::rows(const std::string& sql) {
    Statement st = work_->prepare(every_error_row(sql));
    std::vector<std::string> out;
    while (st.step()) {
        std::string row;
        bool first = true;
        for (int i = 0; i < st.column_count(); ++i) {
            // The server's own row numbers stand where the embedded engine has hidden ones.
            if (on_server() && st.column_name(i) == "rowid") continue;
            const StoredType type = st.type(i);
            char real[32];
            if (type == StoredType::Real) std::snprintf(real, sizeof real, "%.15g", st.real(i));
            row += (first ? "" : "|") + (type == StoredType::Null   ? std::string("null")
                                         : type == StoredType::Real ? std::string(real)
                                                                    : st.text(i));
            first = false;
        }
        out.push_back(row);
    }
    return out;
}

double Installation::number(const std::string& sql) {
    Statement st = work_->prepare(every_error_row(sql));
    return st.step() && !st.is_null(0) ? st.real(0) : -1;
}

std::unique_ptr<RunContext> Installation::context(Ui& ui, const Clock& clock,
                                                  const std::string& data_file_name,
                                                  const std::string& remission_date) {
    auto ctx = std::make_unique<RunContext>(*work_, *ref_, ui, clock);
    ctx->results_folder = results();
    std::filesystem::create_directories(ctx->results_folder);
    ctx->data_file_name = data_file_name;
    ctx->ips_code = kIps;
    DeliveryHeader& header = ctx->delivery.header;
    header.ips_code = kIps;
    header.remission = "000001";
    header.remission_date = remission_date;
    ctx->delivery.records.assign(3, {});
    ctx->delivery.records[0] = ControlRecord::from_fields(
        {kIps, remission_date, data_file_name.substr(0, data_file_name.size() - 4), "10"});
    return ctx;
}

}  // namespace corvela::testing
