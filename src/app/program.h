// The state of the running program, owned by the main window or the command: the configuration,
// the two open databases, the run state, the file last selected or processed, and the delivery of
// the last run.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "db/database.h"
#include "platform/clock.h"
#include "platform/config.h"
#include "platform/operation_lock.h"
#include "platform/result.h"
#include "platform/ui.h"
#include "rules/delivery.h"
#include "rules/failed_lines.h"

namespace corvela {

// Two threads (validating and storing) where the machine has more than one core, else one.
int default_threads();

// Where the last run stands. The working database keeps it as a letter: "I" (nothing to save),
// "N" (validated and not saved), "S" (saved). Unknown before start-up, and for a kept letter of
// no state.
enum class RunState { Unknown, Initial, NotSaved, Saved };
std::string_view state_letter(RunState state);
RunState state_of_letter(std::string_view letter);

struct Program {
    Program(Ui& u, const Clock& c) : ui(u), clock(c) {}

    Ui& ui;
    const Clock& clock;
    Configuration config;
    // The configuration file start-up read, named by the hint of a failed connection.
    std::filesystem::path config_path;
    std::unique_ptr<Database> ref;
    std::unique_ptr<Database> work;
    RunState run_state = RunState::Unknown;
    std::string full_path;  // file last selected or processed
    std::string data_file_name;
    // The delivery of the last run: what a save stores.
    Delivery delivery;
    // Told when a run or a save changed the delivery's header (a window shows it at once).
    std::function<void(const Delivery&)> on_delivery_changed;
    // Runs read every reference row and user from the database at each lookup (a check that the
    // tables held in memory give the same results).
    bool uncached = false;
    // Threads of a run: the validating one, and a writer when there are two.
    int threads = default_threads();
    // Told of every failing line of a run, when set (the errors workbook of the front end).
    FailedLines* failed_lines = nullptr;
    // Called when a run has read its files, before its summary is shown: what the front end
    // writes of the run besides its error files (the errors workbook). It returns the hint of the
    // summary box (app/hints.h), empty for none.
    std::function<std::string(Program&)> before_summary;
    // The installation's lock, while this program runs an operation that changes the working
    // database.
    std::unique_ptr<OperationLock> lock;
    // The file of that lock: the installation's (`installation_lock_file`) unless a front end
    // names another (the web service's desks, each with a lock of its own).
    std::filesystem::path lock_file;
    // On a server, the desk's lock and the server-wide one this program holds.
    bool desk_locked = false;
    enum class SharedHold { None, Shared, Alone } shared_hold = SharedHold::None;

    // Start-up: configuration, size warning, both databases, run state Initial. Failed when a
    // step failed, its message shown.
    Status start(const std::filesystem::path& config_file);
    // Opens both databases of a configuration already read (as start-up does after its size
    // warning), for a front end that reads its configuration once and opens the databases for
    // each operation. Failed when a database did not open, start-up's message shown.
    Status open(const Configuration& configuration);

    // Before an operation: on a server, the connections lost since the last one (a server that
    // restarted) are opened again, once. Failed when the server is still away, the start-up
    // message shown; the program stays usable for a later try.
    Status connection_ready();

    // The last run's state kept in the working database: run state, the delivery's header and
    // control records, so that a later command can save it or ask about it.
    void load_run_state();
    void store_run_state();

    // Tells `on_delivery_changed`, when set.
    void delivery_changed() const {
        if (on_delivery_changed) on_delivery_changed(delivery);
    }
};

// The working database the configuration names: the database folder's file, or the configured
// desk's tables on the server. Throws DatabaseFailure when it does not open.
std::unique_ptr<Database> open_working_database(const Configuration& config);
// The reference database the configuration names, likewise.
std::unique_ptr<Database> open_reference_database(const Configuration& config);

// The installation's lock file: `registros_ips.lock` in the database folder.
std::filesystem::path installation_lock_file(const Configuration& config);

// What an operation changes: the desk's own tables (a run, "Salir"), those and the shared ones by
// adding a saved delivery (a save), or shared rows that every desk reads (clean-up, deletion,
// compaction, sites, reference tables, the EAPB registry).
enum class Reach { Desk, Save, SharedRows };

// One operation that changes the working database: it takes the installation's lock unless the
// program holds it already (a command holds it from start to end), and gives it back at the end
// when it took it. On a server it also takes the desk's lock and, for a save, the server-wide
// lock shared with other desks' saves, or, for shared rows, that lock alone. When another program
// holds a lock it needs, the operator is told and `ok()` is false; nobody waits.
class OperationScope {
  public:
    explicit OperationScope(Program& program, Reach reach = Reach::Desk);
    ~OperationScope();
    OperationScope(const OperationScope&) = delete;
    OperationScope& operator=(const OperationScope&) = delete;
    bool ok() const { return ok_; }

  private:
    // The server's locks the reach needs and the program does not hold yet; false when one is
    // held elsewhere.
    bool take_server_locks(Reach reach);
    void give_back();

    Program& program_;
    bool ok_ = false;
    bool took_ = false;
    bool took_desk_ = false;
    Program::SharedHold took_shared_ = Program::SharedHold::None;
    Program::SharedHold shared_before_ = Program::SharedHold::None;
};

// The message of an installation whose working database another operation is changing.
inline constexpr const char* kBusyText =
    "Otra validación, grabación o borrado está en curso sobre la base de datos de esta "
    "instalación.\rEspere a que termine y vuelva a intentarlo.";
inline constexpr const char* kBusyTitle = "Base de datos ocupada";

// Sets the kept run state, inside the caller's transaction.
void record_kept_state(Database& work, RunState state);

// Sets the kept run state to Saved with the new radicación number, inside the caller's
// transaction.
void record_saved_state(Database& work, double radicacion);

// Why a connection text holding a password is refused: it would be written in the configuration.
inline constexpr const char* kPasswordText =
    "La conexión al servidor lleva una contraseña, y el archivo de configuración no la guarda: "
    "quítela de la conexión y póngala en ~/.pgpass o en el archivo que nombre PGPASSFILE.";

// The size in KB above which start-up warns about the working database.
inline constexpr double kSizeWarningKb = 1800000;

}  // namespace corvela
