// A throw-away installation for tests: a temporary folder with both databases, a configuration
// file, a delivery folder and a results root. By default the reference holds the field
// definitions of every file type (display names "Campo1", "Campo2", ...) and a few codes, with one
// habilitated site; the sample installation is made as `corvela init` makes one, with the shipped
// reference rows, the sample sites and the sample delivery.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/program.h"
#include "app/validation_run.h"
#include "db/database.h"
#include "platform/clock.h"
#include "rules/run_context.h"
#include "support/scripted_ui.h"

namespace corvela::testing {

inline constexpr const char* kIps = "760010012301";

class FixedClock : public Clock {
  public:
    explicit FixedClock(Date d, double secs = 36000) : date(d), seconds(secs) {}
    Date today() const override { return date; }
    double seconds_since_midnight() const override { return seconds; }
    Date date;
    double seconds;
};

// A folder of its own under the system's temporary folder, removed with what it holds at the end:
// tests run side by side never share a file.
class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    std::filesystem::path operator/(const std::string& name) const { return path / name; }
    const std::filesystem::path path;
};

struct Sample {};
// An installation on the embedded engine, also when the tests run on the test server.
struct Embedded {};

class Installation {
  public:
    Installation();
    explicit Installation(Sample);
    Installation(Sample, Embedded);
    ~Installation();

    std::filesystem::path dir, config, delivery, results_root;
    std::string results() const;  // the results folder, with its trailing separator

    Database& work() { return *work_; }
    Database& ref() { return *ref_; }

    // True when the tests run on the test server (CORVELA_TEST_ENGINE=server): every installation
    // then keeps its tables in a database of its own on that server.
    static bool on_server();
    // Makes inserts into `table` fail where `condition` (on NEW) holds, with the text "falla".
    void fail_inserts(const std::string& table, const std::string& condition);
    // The configuration line naming the installation's server ("" for the embedded engine).
    std::string server() const { return server_connection_; }
    std::string server_line() const {
        return server_database_.empty() ? "" : "servidor=" + server_connection_ + "\r\n";
    }
    // The number a failure of `fail_inserts` shows on this engine.
    static int failing_insert_number() { return on_server() ? 0 : 19; }

    // Reference rows.
    void add_code(const std::string& table, const std::string& code);
    void add_cie10(const std::string& codigo, const std::string& sexo, const std::string& lim_inf,
                   const std::string& lim_sup);
    void add_cups(const std::string& codigo, const std::string& archivo, const std::string& sexo,
                  const std::string& edad_ini, const std::string& edad_fin);
    void add_municipio(const std::string& depto, const std::string& muni);

    // Writes a file of the delivery folder, bytes as given.
    void write(const std::string& name, const std::string& bytes);
    // Reads a file of the results folder ("" when missing).
    std::string result(const std::string& name) const;

    // The query with its table ERRORES read as every error row, saved or not: on a server with
    // desks those are the desk's unsaved rows and the saved rows every desk shares.
    static std::string every_error_row(std::string sql);
    // The rows of a query on the working database, columns joined by "|", null as "null" and
    // real numbers without a needless ".0".
    std::vector<std::string> rows(const std::string& sql);
    // The first column of the first row of a query on the working database (-1 when none).
    double number(const std::string& sql);

    // A run context for calling one validator directly on a data file of the delivery.
    std::unique_ptr<RunContext> context(Ui& ui, const Clock& clock,
                                        const std::string& data_file_name,
                                        const std::string& remission_date = "01/11/2026");

  private:
    Installation(Sample, bool on_server);
    // On the test server: makes the installation's own database and returns its connection.
    std::string make_server_database();
    void insert_ref(const std::string& sql, std::initializer_list<std::string> values);
    std::unique_ptr<Database> work_, ref_;
    std::string server_database_;  // the database's name on the test server
    std::string server_connection_;
};

// CR LF joined lines, each ended by CR LF.
std::string crlf(const std::vector<std::string>& lines);
// The bytes of a file ("" when missing).
std::string read_file(const std::filesystem::path& path);
// Runs one statement on `db` with `values` bound in order.
template <typename... Args>
void run_sql(Database& db, const std::string& sql, const Args&... values) {
    Statement st = db.prepare(sql);
    int i = 1;
    (st.bind(i++, values), ...);
    st.exec();
}

}  // namespace corvela::testing
