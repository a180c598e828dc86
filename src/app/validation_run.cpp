#include "app/validation_run.h"

#include <cerrno>
#include <cmath>
#include <fstream>
#include <system_error>

#include "app/control_file.h"
#include "app/hints.h"
#include "app/months.h"
#include "db/file_types.h"
#include "platform/encoding.h"
#include "platform/failure.h"
#include "platform/fault_injection.h"
#include "platform/file_list.h"
#include "platform/text.h"
#include "rules/field_definitions.h"
#include "validators/dispatch.h"
#include "validators/frame.h"

namespace corvela {

void empty_working_tables(Program& program) {
    Database& work = *program.work;
    Transaction tx(work);
    for (std::string_view code : kEmptyingOrder)
        work.exec(std::string("DELETE FROM ") + file_type(code).table);
    // Counts of runs never saved would otherwise add up with the next one.
    work.exec("DELETE FROM ERRORES WHERE nro_radicacion = 0");
    // Nothing is left to save until a run reaches its summary, kept and in memory alike: a run
    // cut short (killed, or stopped on an unregistered site, a missing folder or control file)
    // never leaves its rows, or none, under the header of the run before it.
    record_kept_state(work, RunState::Initial);
    tx.commit();
    program.run_state = RunState::Initial;
}

std::string totals_text(double read, double passed, double minutes, double seconds,
                        const std::string& per_record) {
    return "Leidos:  " + format_number(read, "#####0") + "\r" +
           "Pasaron: " + format_number(passed, "####0") + "\r" +
           "Errados: " + format_number(read - passed, "####0") + "\r\r" +
           "Tiempo de proceso: " + number_text(minutes) + " Minutos, " + number_text(seconds) +
           " Segundos" + "\r" + "Tiempo de validación por Registro: " + per_record + " Segundos";
}

std::string file_table(const std::vector<ControlRecord>& records, int files) {
    std::string t = "Archivo\t\tLeidos\tErrados\tPasaron\r";
    for (size_t r = 0; r < static_cast<size_t>(std::max(files, 0)) && r < records.size(); ++r) {
        const ControlRecord& record = records[r];
        std::string code = record.code();
        if (ltrim(code).empty()) continue;
        double read = record.read(), passed = record.passed();
        t += code + "\t" + number_text(read) + "\t" + number_text(read - passed) + "\t" +
             number_text(passed) + "\r";
    }
    return t;
}

namespace {
std::string data_file_name_of(const std::string& code) {
    return to_upper(code).find(".TXT") == std::string::npos ? code + ".TXT" : code;
}

// The first entry of the list whose name equals `name` without regard to case.
const std::string* find_entry(const FileList& files, const std::string& name) {
    for (const auto& entry : files.names)
        if (equals_nocase(entry, name)) return &entry;
    return nullptr;
}

// Moves the medications row down, one place at a time, until it stands at row F - 2.
void medications_last(std::vector<ControlRecord>& records, int files) {
    const int rows = static_cast<int>(records.size());
    for (int i = 0; i + 1 <= files - 2 && i + 1 < rows; ++i) {
        ControlRecord& record = records[static_cast<size_t>(i)];
        if (record.code().rfind("AM", 0) != 0) continue;
        record.swap_fields(records[static_cast<size_t>(i + 1)]);
    }
}

class Run {
  public:
    Run(Program& p, const std::filesystem::path& folder)
        : program_(p), ui_(p.ui), folder_(folder) {}
    Status execute();

  private:
    // Failed when the results folder could not be created or written in, the failure shown.
    Status prepare_results_folder();
    ControlRecord& record(int i) { return program_.delivery.records[static_cast<size_t>(i)]; }
    const ControlRecord& record(int i) const {
        return program_.delivery.records[static_cast<size_t>(i)];
    }
    // Makes the file of row i the current data file name.
    void name_row(int i);
    // Whether row i names a file; rows past the control file's records name none.
    bool names_file(int i) const;
    // A list entry that matches the current data file name becomes the file in process: its full
    // path and the status text, then a redraw. Every matched file is taken, validated or not.
    void take_entry(const std::string& entry);
    // A file in process that Corvela does not read is refused before it is read: noted, its row
    // left uncounted (0, 0, 0 in the summary), as for a missing file.
    bool refused();
    // Failed when the database kept nothing of the file (the failure shown): the run cannot go
    // on.
    Status validate_row(int i, RecordValidator& validator);
    void note_missing_file();
    // The run context of the delivery's files: the databases, the results folder, the delivery.
    void make_context();
    // Whether the current data file name is of a users file.
    bool users_file() const;
    // The users files of the control table, validated before the others; the value tells
    // whether one was. Failed when the run cannot go on.
    Result<bool> validate_users(int F);
    // Every other file of the control table, in its order. Failed when the run cannot go on.
    Status validate_others(int F);
    Status summary(double start);

    Program& program_;
    Ui& ui_;
    std::filesystem::path folder_;
    FileList files_;
    std::unique_ptr<RunContext> ctx_;
    std::string control_file_;  // the name of the control file read
    // What the run noted about the files of its control table (missing, refused, counts that
    // differ from the declared ones): the hint of the box that ends the run.
    std::vector<std::string> notes_;
};

namespace {
// A results folder where files cannot be created ends the run before the working tables are
// emptied, with one message, instead of a failure for every data file.
void check_writable(const std::string& folder) {
    const std::filesystem::path probe = std::filesystem::path(folder) / "~corvela.tmp";
    {
        std::ofstream out(probe, std::ios::binary | std::ios::trunc);
        if (!out) throw std::system_error(errno ? errno : EACCES, std::generic_category(), folder);
    }
    std::error_code ec;
    std::filesystem::remove(probe, ec);
}
}  // namespace

Status Run::prepare_results_folder() {
    std::string folder = results_folder(program_.config.results_root);
    try {
        std::error_code ec;
        if (!std::filesystem::is_directory(folder, ec)) {
            std::filesystem::create_directory(folder);
            ui_.message(
                "Los resultados de la validación se almacenaran en el directorio Validacion de "
                "la unidad C de su equipo.",
                "Resultado validación", Icon::Information);
        }
        check_writable(folder);
        return Status::done();
    } catch (const std::exception& e) {
        // The run's failure message, which names the control file; the hint names the folder.
        show_failure(ui_, e, " al leer archivo de Control",
                     results_folder_hint(folder, program_.config_path));
        return Status::failed();
    }
}

void Run::name_row(int i) {
    program_.data_file_name = data_file_name_of(record(i).code());
}

bool Run::names_file(int i) const {
    return !ltrim(record(i).code()).empty();
}

void Run::note_missing_file() {
    notes_.push_back(
        missing_file_note(control_file_, std::string(trim(program_.data_file_name)), folder_));
}

bool Run::refused() {
    if (!is_utf16_file(program_.full_path)) return false;
    notes_.push_back(utf16_note(program_.full_path));
    return true;
}

void Run::take_entry(const std::string& entry) {
    program_.full_path = (files_.folder / entry).string();
    ui_.set_status("Archivo en proceso: " + std::string(trim(program_.data_file_name)));
    ui_.process_events();
}

Status Run::validate_row(int i, RecordValidator& validator) {
    RunContext& ctx = *ctx_;
    ctx.data_file_name = program_.data_file_name;
    ctx.ips_code = record(i).ips_code.value_or("");
    FileCounts counts = validate_file(ctx, validator, program_.full_path);
    record(i).count(counts);
    fault_point("validacion:archivo");
    if (counts.lost) return Status::failed();
    const std::string declared(trim(record(i).declared()));
    if (declared.empty() ||
        leading_number_value(declared) != static_cast<double>(counts.lines_read))
        notes_.push_back(count_note(control_file_, std::string(trim(program_.data_file_name)),
                                    counts.lines_read, declared));
    return Status::done();
}

void Run::make_context() {
    ctx_ = std::make_unique<RunContext>(*program_.work, *program_.ref, ui_, program_.clock);
    ctx_->results_folder = results_folder(program_.config.results_root);
    ctx_->uncached = program_.uncached;
    ctx_->threads = program_.threads;
    ctx_->failed_lines = program_.failed_lines;
    if (program_.uncached) ctx_->users.use_table(*program_.work);
    // The header keeps the remission date of the first record as read, before the medications
    // row moved: one delivery has one remission date, for the invoices and for the dates that fall
    // back on it.
    ctx_->delivery = program_.delivery;
}

bool Run::users_file() const {
    return ltrim(program_.data_file_name).rfind("US", 0) == 0;
}

Result<bool> Run::validate_users(int F) {
    bool users = false;
    for (int i = 0; i < F; ++i) {
        name_row(i);
        if (users_file() && names_file(i) && !find_entry(files_, program_.data_file_name))
            note_missing_file();
        for (const std::string& entry : files_.names) {
            if (!equals_nocase(entry, program_.data_file_name)) continue;
            take_entry(entry);
            if (users_file()) {
                if (refused()) break;
                if (!validate_row(i, *validator_for("US")).ok()) return Result<bool>::failed();
                users = true;
                break;
            }
        }
    }
    return Result<bool>::done(users);
}

Status Run::validate_others(int F) {
    for (int i = 0; i < F; ++i) {
        name_row(i);
        if (const std::string* entry = find_entry(files_, program_.data_file_name)) {
            take_entry(*entry);
            std::string type = to_upper(left_chars(trim(program_.data_file_name), 2));
            if (type != "US")
                if (auto validator = validator_for(type);
                    validator && !refused() && !validate_row(i, *validator).ok())
                    return Status::failed();
        } else if (!users_file() && names_file(i)) {
            note_missing_file();
        }
        ui_.set_progress(i + 1);
    }
    return Status::done();
}

Status Run::execute() {
    for (ControlRecord& r : program_.delivery.records) r.validated.reset();
    // Records are split by the field definitions and stored by the registry's columns: a run
    // on definitions that disagree with it would store wrong values, so none starts.
    if (std::string why = field_count_fault(*program_.ref); !why.empty()) {
        ui_.message(why, "", Icon::Critical);
        return Status::stopped();
    }
    if (!prepare_results_folder().ok()) return Status::stopped();
    if (program_.run_state == RunState::NotSaved) {
        // Yes keeps the last run for saving; the command line says how.
        if (ui_.ask_yes_no(
                std::string("Existe información en tablas temporales que no se ha cargado.") +
                    "\r" + "¿Desea cargarla.?",
                "Existe Información."))
            return Status::stopped(unsaved_run_hint());
    } else if (program_.run_state != RunState::Initial && program_.run_state != RunState::Saved) {
        return Status::stopped();
    }
    empty_working_tables(program_);
    files_ = list_text_files(folder_);
    if (!read_control_file(program_, files_).ok()) return Status::stopped();
    control_file_ = std::filesystem::path(program_.full_path).filename().string();

    const int F = static_cast<int>(files_.names.size());
    double start = program_.clock.seconds_since_midnight();
    ui_.set_progress_range(0, F);
    ui_.set_progress(0);
    medications_last(program_.delivery.records, F);
    ui_.show_progress(true);
    ui_.set_progress(1);
    make_context();

    const Result<bool> users = validate_users(F);
    if (!users.ok()) return Status::stopped();
    ui_.set_progress(2);
    if (!users.value()) {
        ui_.message_with_hint(
            "No existe el archivo de usuario, por favor revise el archivo de control.",
            "Falta archivo de Usuario.", Icon::Critical, no_users_hint(control_file_, notes_));
        return Status::stopped();
    }
    if (!validate_others(F).ok()) return Status::stopped();
    show_reported_months(program_);
    return summary(start);
}

Status Run::summary(double start) {
    ui_.show_progress(false);
    float elapsed = static_cast<float>(program_.clock.seconds_since_midnight() - start);
    double minutes = std::floor(elapsed / 60.0f);
    double seconds = std::nearbyint(elapsed - 60.0 * minutes);
    const std::string hint = program_.before_summary ? program_.before_summary(program_) : "";
    ui_.message(
        "Finalizo el proceso de lectura de archivos planos. Debe procesar los datos si desea "
        "almacenarlos y subir los registros depurados.",
        "Atención", Icon::Information);
    const int F = static_cast<int>(files_.names.size());
    double read = 0, passed = 0;
    const std::vector<ControlRecord>& records = program_.delivery.records;
    for (size_t r = 0; r < static_cast<size_t>(F) && r < records.size(); ++r) {
        read += records[r].read();
        passed += records[r].passed();
    }
    if (read == 0) {
        ui_.message_with_hint(
            totals_text(read, passed, minutes, seconds, format_number(0, "##,##0.000")),
            "Resultados de la validacion.", Icon::Information, hint);
        ui_.message_with_hint(
            std::string("No se a leído ningún registro, revise los nombres de los archivos "
                        "físicos contra los registros del archivo de control.") +
                "\r" + "Los nombres de los archivos deben concordar",
            "No existen registros para leer", Icon::Information, joined(notes_));
    } else {
        std::string per_record = format_number(elapsed / read, "####0.000");
        // The run's notes on its files, then the workbook's line.
        std::vector<std::string> lines = notes_;
        if (!hint.empty()) lines.push_back(hint);
        ui_.message_with_hint(totals_text(read, passed, minutes, seconds, per_record) + "\r\r" +
                                  file_table(records, F),
                              "Resumén de la validación.", Icon::Information, joined(lines));
    }
    program_.run_state = RunState::NotSaved;
    return Status::done();
}

}  // namespace

Status run_validation(Program& program, const std::filesystem::path& folder) {
    Status outcome = Status::stopped();
    OperationScope scope(program);
    if (!scope.ok()) return outcome;
    try {
        outcome = Run(program, folder).execute();
    } catch (const std::exception& e) {
        show_failure(program.ui, e, " al leer archivo de Control");
    }
    program.ui.set_busy(false);
    return outcome;
}

}  // namespace corvela
