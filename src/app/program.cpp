#include "app/program.h"

#include <cerrno>
#include <system_error>
#include <thread>

#include "app/hints.h"
#include "db/server_database.h"
#include "db/server_desks.h"
#include "platform/failure.h"
#include "platform/text.h"

namespace corvela {

int default_threads() {
    return std::thread::hardware_concurrency() > 1 ? 2 : 1;
}

std::string_view state_letter(RunState state) {
    switch (state) {
        case RunState::Initial:
            return "I";
        case RunState::NotSaved:
            return "N";
        case RunState::Saved:
            return "S";
        default:
            return "";
    }
}

RunState state_of_letter(std::string_view letter) {
    for (RunState s : {RunState::Initial, RunState::NotSaved, RunState::Saved})
        if (letter == state_letter(s)) return s;
    return RunState::Unknown;
}

namespace {
// The size of the working database is read before any database is opened; a missing file fails
// start-up here.
void warn_size(Ui& ui, const std::string& path, const std::string& file_name) {
    auto size = std::filesystem::file_size(path);
    double kb = static_cast<double>(size) / 1024.0;
    if (kb <= kSizeWarningKb) return;
    ui.message("La base de datos (" + to_upper(file_name) + ") utiliza actualmente " +
                   value_text(kb) + " KB. " + "\r\r" +
                   "Ya esta alcanzando el máximo tamaño permitido, lo cual genera inconvenientes "
                   "al aplicativo," +
                   "\r" +
                   "por lo tanto se recomienda salir de este programa y ejecutar Access para "
                   "Compactar la base" +
                   "\r" +
                   "de datos o realizar una copia de seguridad, vaciar su contenido y luego "
                   "Compactar.",
               "Información del tamaño de la Base de datos", Icon::None);
}

// The message keeps its text; the hint names the configuration file and, when it is missing, how
// to create it, or the database folder it names.
void startup_failure(Ui& ui, int number, const std::string& description, const std::string& hint) {
    ui.message_with_hint(failure_message(number, " al leer archivo de Configuración ", description),
                         "Error", Icon::Critical, hint);
}

// A database that cannot be opened: on a server the configuration names it, otherwise the
// database folder does.
std::string opening_hint(const Configuration& config, const std::filesystem::path& config_path) {
    return config.server.empty() ? database_folder_hint(config_path, config.database_folder)
                                 : configuration_hint(config_path, false);
}
}  // namespace

std::unique_ptr<Database> open_working_database(const Configuration& config) {
    if (config.server.empty())
        return Database::open_existing(config.database_folder + "registros_ips.db");
    return open_server(config.server, ServerSchema::Working, config.desk,
                       {config.number_wait, config.idle_wait});
}

std::unique_ptr<Database> open_reference_database(const Configuration& config) {
    if (config.server.empty())
        return Database::open_existing(config.database_folder + "Ref_rips.db");
    return open_server(config.server, ServerSchema::Reference, config.desk,
                       {config.number_wait, config.idle_wait});
}

std::filesystem::path installation_lock_file(const Configuration& config) {
    return config.database_folder + "registros_ips.lock";
}

Status Program::start(const std::filesystem::path& path) {
    ui.show_progress(false);
    config_path = path;
    auto cfg = read_configuration(config_path);
    if (!cfg.ok()) {
        startup_failure(ui, cfg.number(), cfg.why(),
                        configuration_hint(config_path, cfg.number() == ENOENT));
        return Status::failed();
    }
    config = cfg.value();
    try {
        if (config.server.empty())
            warn_size(ui, config.database_folder + "registros_ips.db", "registros_ips.db");
    } catch (const std::filesystem::filesystem_error& e) {
        startup_failure(ui, e.code().value(), describe_failure(e).description,
                        opening_hint(config, config_path));
        return Status::failed();
    }
    return open(config);
}

namespace {
// What keeps a server's database from serving this program's desk: empty when nothing does.
std::string server_installation_fault(Database& work, const Configuration& config) {
    if (!server_has_installation(work))
        return "La base de datos del servidor no tiene las tablas de Corvela: créelas con corvela "
               "init CARPETA --server '" +
               config.server + "'.";
    if (!desk_exists(work, config.desk) &&
        !(config.desk == "principal" && server_before_desks(work)))
        return "El puesto " + config.desk +
               " no existe en el servidor: créelo con corvela init CARPETA --server … --desk " +
               config.desk + ".";
    return {};
}
}  // namespace

Status Program::open(const Configuration& configuration) {
    config = configuration;
    // The start-up message, the database folder or the configuration named beside it. A database
    // that refused leaves no working database behind.
    auto refuse = [this](int number, const std::string& why) {
        startup_failure(ui, number, why, opening_hint(config, config_path));
        return Status::failed();
    };
    auto refuse_database = [this, &refuse](int number, const std::string& why) {
        work.reset();
        return refuse(number, why);
    };
    if (!config.server.empty() && names_password(config.server))
        return refuse_database(0, kPasswordText);
    try {
        ref = open_reference_database(config);
        work = open_working_database(config);
        if (!config.server.empty())
            if (std::string fault = server_installation_fault(*work, config); !fault.empty())
                return refuse_database(0, fault);
        // A file that is no database of this program fails here, not in the middle of a run.
        work->count("SELECT 1 FROM consecutivo");
        ref->count("SELECT 1 FROM R_Campos");
    } catch (const DatabaseFailure& e) {
        return refuse_database(e.number, e.what());
    } catch (const std::filesystem::filesystem_error& e) {
        return refuse(e.code().value(), describe_failure(e).description);
    }
    run_state = RunState::Initial;
    return Status::done();
}

Status Program::connection_ready() {
    if (!work || !work->on_server()) return Status::done();
    try {
        const bool ref_reopened = ref->reopen_if_lost();
        if (work->reopen_if_lost() || ref_reopened) {
            // The server's locks went with the lost connection.
            desk_locked = false;
            shared_hold = SharedHold::None;
        }
        return Status::done();
    } catch (const DatabaseFailure& e) {
        startup_failure(ui, e.number, e.what(), configuration_hint(config_path, false));
        return Status::failed();
    }
}

namespace {
// The header values as the working database keeps them, by key.
struct KeptHeaderValue {
    const char* key;
    std::string DeliveryHeader::*value;
};
constexpr KeptHeaderValue kKeptHeader[] = {
    {"COD_EAPB", &DeliveryHeader::ips_code},   {"NOMEAPB", &DeliveryHeader::ips_name},
    {"NOMREMITENTE", &DeliveryHeader::sender}, {"DIRECCION", &DeliveryHeader::address},
    {"TELEFONO", &DeliveryHeader::telephone},  {"NFAX", &DeliveryHeader::fax},
    {"NREMISION", &DeliveryHeader::remission}, {"FECHAREMI", &DeliveryHeader::remission_date},
    {"PERIODO", &DeliveryHeader::period},
};

// The control records' fields as the columns c0 .. c3 keep them.
constexpr std::optional<std::string> ControlRecord::*kKeptFields[] = {
    &ControlRecord::ips_code, &ControlRecord::remission_date, &ControlRecord::file_code,
    &ControlRecord::declared_count};

std::vector<ControlRecord> load_control_records(Database& work) {
    std::vector<ControlRecord> records;
    Statement rows =
        work.prepare("SELECT c0, c1, c2, c3, c4, c5 FROM control_corrida ORDER BY fila");
    while (rows.step()) {
        ControlRecord& r = records.emplace_back();
        for (int c = 0; c < 4; ++c)
            if (!rows.is_null(c)) r.*kKeptFields[c] = rows.text(c);
        // Columns 4 and 5 hold the counts of the file.
        if (!rows.is_null(4)) r.set_read_text(rows.text(4));
        if (!rows.is_null(5)) r.set_passed_text(rows.text(5));
    }
    return records;
}
}  // namespace

void Program::load_run_state() {
    Statement st = work->prepare("SELECT clave, valor FROM estado_corrida");
    DeliveryHeader h;
    bool any = false;
    while (st.step()) {
        any = true;
        std::string key = st.text(0);
        std::string value = st.text(1);
        if (key == "estado") run_state = state_of_letter(value);
        if (key == "radicacion") delivery.radicacion = leading_number_value(value);
        for (const auto& kept : kKeptHeader)
            if (key == kept.key) h.*kept.value = value;
    }
    if (any) delivery.header = h;
    delivery.records = load_control_records(*work);
}

void Program::store_run_state() {
    Transaction tx(*work);
    work->exec("DELETE FROM estado_corrida");
    work->exec("DELETE FROM control_corrida");
    Statement put = work->prepare("INSERT INTO estado_corrida (clave, valor) VALUES (?, ?)");
    auto set = [&put](const std::string& key, std::string_view value) {
        put.bind(1, key);
        put.bind(2, std::string(value));
        put.exec();
        put.reset();
    };
    set("estado", state_letter(run_state));
    for (const auto& kept : kKeptHeader) set(kept.key, delivery.header.*kept.value);
    set("radicacion", value_text(delivery.radicacion));
    Statement row = work->prepare(
        "INSERT INTO control_corrida (fila, c0, c1, c2, c3, c4, c5) VALUES (?, ?, ?, ?, ?, ?, ?)");
    for (size_t r = 0; r < delivery.records.size(); ++r) {
        const ControlRecord& record = delivery.records[r];
        row.bind(1, static_cast<int>(r));
        for (int c = 0; c < 4; ++c) row.bind_or_null(c + 2, record.*kKeptFields[c]);
        row.bind_or_null(6, record.read_text());
        row.bind_or_null(7, record.passed_text());
        row.exec();
        row.reset();
    }
    tx.commit();
}

OperationScope::OperationScope(Program& program, Reach reach) : program_(program) {
    if (!program.lock) {
        // An operation that begins (not one inside another) finds its server again.
        if (!program.connection_ready().ok()) return;
        auto lock = std::make_unique<OperationLock>(
            program.lock_file.empty() ? installation_lock_file(program.config) : program.lock_file);
        if (!lock->held()) {
            program.ui.message(kBusyText, kBusyTitle, Icon::Exclamation);
            return;
        }
        program.lock = std::move(lock);
        took_ = true;
    }
    bool taken = false;
    try {
        taken = take_server_locks(reach);
    } catch (const std::exception& e) {
        give_back();
        show_failure(program.ui, e, "");
        return;
    }
    if (!taken) {
        give_back();
        program.ui.message(kBusyText, kBusyTitle, Icon::Exclamation);
        return;
    }
    ok_ = true;
}

bool OperationScope::take_server_locks(Reach reach) {
    Database* work = program_.work.get();
    if (!work || !work->on_server()) return true;
    if (!program_.desk_locked) {
        if (!work->try_lock(Database::Lock::Desk)) return false;
        program_.desk_locked = took_desk_ = true;
    }
    using Hold = Program::SharedHold;
    shared_before_ = program_.shared_hold;
    if (reach == Reach::Save && program_.shared_hold == Hold::None) {
        if (!work->try_lock(Database::Lock::SharedRows)) return false;
        program_.shared_hold = took_shared_ = Hold::Shared;
    }
    if (reach == Reach::SharedRows && program_.shared_hold != Hold::Alone) {
        if (!work->try_lock(Database::Lock::AllSharedRows)) return false;
        program_.shared_hold = took_shared_ = Hold::Alone;
    }
    return true;
}

void OperationScope::give_back() {
    Database* work = program_.work.get();
    try {
        if (work && took_shared_ != Program::SharedHold::None) {
            work->unlock(took_shared_ == Program::SharedHold::Shared
                             ? Database::Lock::SharedRows
                             : Database::Lock::AllSharedRows);
            // A save's shared hold taken before this scope still stands.
            program_.shared_hold = shared_before_;
        }
        if (work && took_desk_) {
            work->unlock(Database::Lock::Desk);
            program_.desk_locked = false;
        }
    } catch (const std::exception&) {
        // A lost connection has given its locks back with it.
        program_.shared_hold = Program::SharedHold::None;
        program_.desk_locked = false;
    }
    took_shared_ = Program::SharedHold::None;
    took_desk_ = false;
    if (took_) program_.lock.reset();
    took_ = false;
}

OperationScope::~OperationScope() {
    give_back();
}

void record_kept_state(Database& work, RunState state) {
    Statement put = work.prepare("UPDATE estado_corrida SET valor = ? WHERE clave = 'estado'");
    put.bind(1, std::string(state_letter(state)));
    put.exec();
}

void record_saved_state(Database& work, double radicacion) {
    record_kept_state(work, RunState::Saved);
    Statement put = work.prepare("UPDATE estado_corrida SET valor = ? WHERE clave = 'radicacion'");
    put.bind(1, value_text(radicacion));
    put.exec();
}

}  // namespace corvela
