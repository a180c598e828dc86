// The report window's logic without the window: the IPS that have saved deliveries, the
// deliveries of one IPS as its combo box lists them, the validation summary and the inconsistency
// report of one delivery as a list view, and the export of the list shown to an HTML page.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/program.h"
#include "reports/html_table.h"

namespace corvela {

// One IPS of `impre_registros`.
struct IpsRow {
    std::string code;
    std::optional<std::string> name;  // null when the site has no name
    // The text the IPS combo box shows (empty for a null name).
    std::string shown() const { return name.value_or(std::string()); }
};

// "select distinct eapb,nombre from impre_registros", ordered by code and name.
std::vector<IpsRow> ips_rows(Database& work);
// The first row whose name equals `name` (letter case ignored, as the database compares).
const IpsRow* find_ips(const std::vector<IpsRow>& rows, const std::string& name);

// How the deliveries of an IPS are matched in `registros`: the report window by `eapb`, the delete
// window by `eapb` followed by `sede`.
enum class DeliveryKey { Eapb, EapbSede };
// The deliveries not deleted, each as `nro_remision` + "/" + number text of `nro_radicacion`
// (empty when `nro_remision` is null), ordered by remission and number.
std::vector<std::string> delivery_entries(Database& work, const std::string& ips_code,
                                          DeliveryKey key);

// A delivery text split at its first "/": the remission (trimmed) and the radicación text.
struct DeliveryParts {
    std::string remission;
    std::string radicacion;
};
DeliveryParts split_delivery(const std::string& text);

// "Informe" of the main window: stopped, after the message "No existen registros para imprimir",
// when no IPS has a saved delivery; failed when the server is away (start-up's message shown).
Status reports_available(Program& program);

// The state and the buttons of the report window.
class DeliveryReport {
  public:
    explicit DeliveryReport(Program& program) : program_(program) {}

    // Loads the IPS list and selects its first entry.
    void load();
    const std::vector<IpsRow>& ips() const { return ips_; }
    // Selects an IPS by its shown name and lists its deliveries, selecting the first.
    void select_ips(const std::string& name);
    const std::vector<std::string>& deliveries() const { return deliveries_; }
    void select_delivery(const std::string& entry) { delivery_ = entry; }

    // The validation summary of the selected delivery. Failed when a failure was shown; the list
    // then keeps what it held.
    Status show_summary();
    // The inconsistency table of the selected delivery, per file and field. Stopped when there
    // was nothing to show (the operator was told), failed when a failure was shown; the list then
    // keeps what it held.
    Status show_inconsistencies();
    // Exports the list shown to database folder + "reporte.html", or to `output_path` when given,
    // and opens it with the opener when one is set. The path written; stopped when there is no
    // folder to write to, failed when the page could not be written (the reason shown).
    Result<std::string> export_page(const std::string& output_path = {});

    const ListView& list() const { return list_; }
    const std::string& title() const { return title_; }
    const std::string& ips_code() const { return ips_code_; }
    const std::string& delivery() const { return delivery_; }

    // Opens a written page with the workstation's default program (the desktop program sets it).
    std::function<bool(const std::string&)> opener;

  private:
    Program& program_;
    std::vector<IpsRow> ips_;
    std::vector<std::string> deliveries_;
    std::string ips_code_;
    std::string delivery_;
    std::string title_;
    ListView list_;
};

// The counters of one data file as the inconsistency table reads them: C1 .. C29 are shown, a
// missing one as an empty cell.
struct FileCounters {
    std::string tipo;
    std::array<std::optional<double>, 30> counters{};
};
// The inconsistency table of up to ten data files: for each, a column headed by its type's name
// with the counters' labels and a "Frecuencia" column with their values, one row per counter and
// "Total inconsistencias" last. Throws when a type has no field definitions or a table would
// hold more than ten files.
ListView inconsistency_list(Database& ref, const std::vector<FileCounters>& files);

// The labels of the inconsistency table for a file type: its field names (the `dato` column of its
// field definitions, in order) at counters 1 .. n, its fixed labels at n + 1 + d. Index 0 is
// unused. Throws when a label falls beyond counter 30.
std::vector<std::string> counter_labels(const std::string& type,
                                        const std::vector<std::string>& fields);
// The name a file type has in the inconsistency table ("Usuarios", "Consultas", ...), empty for
// any other code.
std::string file_type_name(const std::string& type);

}  // namespace corvela
