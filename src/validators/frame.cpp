#include "validators/frame.h"

#include <optional>
#include <system_error>

#include "db/schema.h"
#include "db/writer_thread.h"
#include "platform/failure.h"
#include "platform/line_reader.h"
#include "platform/output_file.h"
#include "platform/record_split.h"
#include "platform/text.h"
#include "rules/error_recording.h"

namespace corvela {

int split_fields(std::string_view line, FileContext& fc) {
    // Surplus fields are counted but not kept.
    return split_record(line, [&fc](int n, std::string_view value) {
        if (n <= fc.field_count) fc.fields[static_cast<size_t>(n)].assign(value);
    });
}

std::filesystem::path error_file_path(const RunContext& run) {
    const std::string& name = run.data_file_name;
    size_t chars = char_length(name);
    std::string stem =
        run.results_folder + run.ips_code + "_" + left_chars(name, chars > 4 ? chars - 4 : 0);
    std::filesystem::path first = stem + ".ERR";
    std::error_code ec;
    return std::filesystem::exists(first, ec) ? std::filesystem::path(stem + "_1.ERR") : first;
}

std::filesystem::path accepted_file_path(const RunContext& run) {
    return run.results_folder + run.ips_code + "_" + run.data_file_name;
}

namespace {
// The record count the control file declares for the type of the current data file.
std::string declared_count(const RunContext& run) {
    std::string type = to_upper(left_chars(run.data_file_name, 2));
    for (const ControlRecord& record : run.delivery.records)
        if (to_upper(left_chars(record.code(), 2)) == type) return record.declared();
    return {};
}

// The output files of a data file: named once, when the file is first read, so that a file read
// again writes the same ones.
struct OutputNames {
    std::filesystem::path accepted, errors;
};

class FileRun {
  public:
    FileRun(RunContext& run, RecordValidator& v, OutputNames names)
        : run_(run), v_(v), type_spec_(v.type_spec()), names_(std::move(names)) {}

    // Reads every line, each passing line's row going to `rows`; then waits for them to be
    // stored.
    void read(const std::filesystem::path& path, std::unique_ptr<RowSink> rows);
    // Waits until every row handed over was stored, and ends the writer, if any: the failure of
    // a row it could not store.
    std::optional<StorageBehind> stop_storing();
    FileContext& context() { return fc_; }
    const OutputNames& outputs() const { return names_; }

  private:
    void read_line();
    void structure_error();
    void decide();
    void show_progress();

    RunContext& run_;
    RecordValidator& v_;
    const TypeSpec& type_spec_;
    FileContext fc_;
    std::unique_ptr<FieldDefinitions> defs_;
    std::unique_ptr<RowSink> rows_;
    OutputFile accepted_, errors_;
    OutputNames names_;
    bool count_failed_ = false;
    std::string out_;
};

std::optional<StorageBehind> FileRun::stop_storing() {
    if (!rows_) return std::nullopt;
    std::optional<StorageBehind> behind = rows_->drain();
    rows_.reset();
    return behind;
}

void FileRun::read(const std::filesystem::path& path, std::unique_ptr<RowSink> rows) {
    const FileType& file = v_.file();
    rows_ = std::move(rows);
    fc_.type = file.type;
    fc_.lines_read = fc_.lines_passed = 0;
    fc_.several_messages = 0;
    fc_.declared_count = declared_count(run_);
    defs_ = std::make_unique<FieldDefinitions>(run_.ref, file.type);
    fc_.defs = defs_.get();
    fc_.field_count = defs_->count();
    run_.length_in_force = fc_.field_count;
    run_.field_in_force = nullptr;
    fc_.fields.assign(static_cast<size_t>(fc_.field_count) + 1, std::string());
    clear_counters(fc_);
    v_.start_file(run_, fc_);
    LineReader reader(path);
    const bool again = !names_.accepted.empty();
    if (!again) names_ = {accepted_file_path(run_), error_file_path(run_)};
    accepted_ = OutputFile(names_.accepted, reader.encoding());
    errors_ = OutputFile(names_.errors, reader.encoding());
    fc_.line_limit = defs_->line_length();
    if (run_.failed_lines) run_.failed_lines->file_started(fc_, run_.data_file_name, again);
    // Each line is read straight into the record's line, the text the outputs are written from.
    while (reader.next(fc_.line)) read_line();
    accepted_.close();
    errors_.close();
    rows_->finish();
}

void FileRun::read_line() {
    const std::string& line = fc_.line;
    size_t length = char_length(trim(line));
    if (length == 0 || length > static_cast<size_t>(fc_.line_limit)) {
        structure_error();
    } else {
        fc_.lines_read += 1;
        fill_marks(fc_,
                   type_spec_.marks_length ? type_spec_.marks_length
                                           : static_cast<size_t>(fc_.field_count),
                   '0');
        fc_.line_errors = 0;
        fc_.errors.clear();
        clear_line_slots(run_);
        int fields = split_fields(line, fc_);
        fc_.fields_counted = fields;
        count_failed_ =
            type_spec_.fewer_fields_allowed ? fields > fc_.field_count : fields != fc_.field_count;
        if (count_failed_) {
            line_error(fc_, 0);
            if (fc_.description.empty())
                plain_join(fc_, "Estructura: Tiene un numero mayor de campos");
            else
                plain_join(fc_, " Estructura: el registro contiene un numero mayor de campos");
            count_error(fc_, Counter::Structure);
            if (!type_spec_.fewer_fields_allowed)
                fill_marks(fc_,
                           type_spec_.marks_length ? type_spec_.marks_length
                                                   : static_cast<size_t>(fc_.field_count),
                           '1');
        } else {
            v_.check_fields(run_, fc_);
        }
        decide();
        for (auto& f : fc_.fields) f.clear();
    }
    fc_.description.clear();
    show_progress();
}

void FileRun::structure_error() {
    fc_.lines_read += 1;
    errors_.write_line("Linea " + number_text(static_cast<double>(fc_.lines_read)) +
                       type_spec_.structure_text);
    count_error(fc_, Counter::Structure);
    if (run_.failed_lines) {
        std::string_view text = type_spec_.structure_text;
        const size_t de = text.find("Error de ");
        if (de != std::string_view::npos) text.remove_prefix(de + 9);
        run_.failed_lines->structure_failed(fc_, rtrim(fc_.line), text);
    }
}

void FileRun::decide() {
    std::string_view kept = rtrim(fc_.line);
    if (fc_.line_errors == 0) {
        accepted_.write_line(kept);
        fc_.lines_passed += 1;
        v_.store(run_, fc_, *rows_);
        return;
    }
    out_.assign(kept);
    out_ += count_failed_ ? type_spec_.count_separator : type_spec_.record_separator;
    out_ += number_text(static_cast<double>(fc_.lines_read));
    out_ += " Error de ";
    out_ += fc_.description;
    errors_.write_line(out_);
    if (run_.failed_lines) run_.failed_lines->record_failed(fc_, kept);
    fc_.line_errors = 0;
    fc_.several_messages = 0;
    fc_.description.clear();
}

void FileRun::show_progress() {
    if (!run_.ui.wants_status()) return run_.ui.process_events();
    run_.ui.set_status("Archivo en proceso: " + std::string(trim(run_.data_file_name)) + " " +
                       number_text(static_cast<double>(fc_.lines_read)) + " de " +
                       number_text(leading_number_value(fc_.declared_count)));
    run_.ui.process_events();
}
}  // namespace

namespace {
// What a data file's lines change in the run besides the file's own counts and outputs: the
// shared slots and the users index. Taken when the file starts, so that the file can be read
// again from the same state.
struct RunSlots {
    explicit RunSlots(const RunContext& run)
        : service_date(run.service_date),
          length_in_force(run.length_in_force),
          field_in_force(run.field_in_force),
          dx_sex(run.dx_sex),
          dx_min_age(run.dx_min_age),
          dx_max_age(run.dx_max_age),
          slots(run.slots),
          users(run.users.size()) {}

    void restore(RunContext& run) const {
        run.service_date = service_date;
        run.length_in_force = length_in_force;
        run.field_in_force = field_in_force;
        run.dx_sex = dx_sex;
        run.dx_min_age = dx_min_age;
        run.dx_max_age = dx_max_age;
        run.slots = slots;
        run.users.truncate(users);
    }

    std::string service_date;
    double length_in_force;
    const FieldDefinition* field_in_force;
    std::string dx_sex, dx_min_age, dx_max_age;
    LineSlots slots;
    size_t users;
};

// The rows of a file read again after its writer failed: the rows stored before the failing one
// are taken and dropped (they are in the table already), and the failing row fails again with
// the writer's failure, at the same line of the file.
class ReplaySink : public RowSink {
  public:
    explicit ReplaySink(StorageBehind behind) : behind_(std::move(behind)) {}
    Row& next() override { return row_; }
    void add() override {
        if (taken_ == behind_.row) std::rethrow_exception(behind_.failure);
        ++taken_;
    }
    // Reached only when the file changed between the two readings; the failure stands.
    void finish() override { std::rethrow_exception(behind_.failure); }
    std::optional<StorageBehind> drain() override { return std::nullopt; }

  private:
    StorageBehind behind_;
    size_t taken_ = 0;
    Row row_;
};

std::unique_ptr<RowSink> rows_for(RunContext& run, const FileType& file) {
    std::vector<std::string> columns = working_columns(file.table);
    // Lookups that read the working tables share the connection with the inserts: one thread.
    if (run.threads > 1 && !run.uncached)
        return std::make_unique<WriterThread>(run.work, file.table, columns);
    return std::make_unique<StoreNow>(run.work, file.table, columns);
}

// True when `failure` is the database's word that the disk under it is full: the rows of the
// file's transaction cannot be kept, whether or not the engine has taken them back already.
bool disk_full(const Database& db, const std::exception_ptr& failure) {
    try {
        std::rethrow_exception(failure);
    } catch (const DatabaseFailure& e) {
        return e.number == db.disk_full().number;
    } catch (...) {
        return false;
    }
}

// Commits the transaction; false when the engine refuses (a second commit always does).
bool commit_kept(Transaction& tx) {
    try {
        tx.commit();
        return true;
    } catch (...) {
        return false;
    }
}

// What is stored of a file the database did not keep: nothing. Its outputs stay as written.
FileCounts lost_file(const FileRun& file) {
    FileCounts counts;
    counts.error_file = file.outputs().errors;
    counts.accepted_file = file.outputs().accepted;
    counts.lost = true;
    return counts;
}
}  // namespace

FileCounts validate_file(RunContext& run, RecordValidator& validator,
                         const std::filesystem::path& path) {
    const RunSlots at_start(run);
    // The transaction outlives the file's run, so its writer has ended before a rollback.
    std::optional<Transaction> tx(std::in_place, run.work);
    auto file = std::make_unique<FileRun>(run, validator, OutputNames{});
    run.ui.set_busy(true);
    std::optional<StorageBehind> behind;
    // The file's failures are shown once its transaction has ended: on a server, a transaction
    // left waiting on the operator's box would be ended by the server.
    std::exception_ptr failed, unrecorded;
    bool full = false;
    try {
        file->read(path, rows_for(run, validator.file()));
    } catch (const StorageBehind& b) {
        behind = b;
    } catch (const std::exception&) {
        // The rows of the lines before the failure are stored first; a failure among them came
        // first and is the one to show.
        behind = file->stop_storing();
        if (!behind) {
            failed = std::current_exception();
            full = disk_full(run.work, failed);
        }
    }
    if (auto late = file->stop_storing(); late && !behind) behind = late;
    if (behind) {
        full = disk_full(run.work, behind->failure);
        // The writer failed on a row the validator had gone past. The file is read again from
        // its start, up to that row, without storing: its counts, outputs, shared slots and
        // users end as they would have had the row failed as the validator passed it.
        OutputNames names = file->outputs();
        file.reset();
        at_start.restore(run);
        file = std::make_unique<FileRun>(run, validator, std::move(names));
        try {
            file->read(path, std::make_unique<ReplaySink>(*behind));
        } catch (const std::exception&) {
            failed = std::current_exception();
        }
    }
    run.ui.set_busy(false);
    FileContext& fc = file->context();
    // A full disk keeps nothing of the file, and a database that ended the transaction by itself
    // (a server gone away) has taken the file back.
    bool lost = full || !run.work.in_transaction();
    if (!lost) {
        ErrorRowKey key{run.delivery.radicacion, run.ips_code,
                        to_upper(left_chars(run.data_file_name, 2)), run.delivery.header.remission};
        try {
            write_error_row(run.work, key, fc);
            tx->commit();
        } catch (const std::exception&) {
            unrecorded = std::current_exception();
            // The rows of the lines counted as passed are kept even when the error row failed.
            // When this commit fails as well, the failure above says so for this file; a second
            // message would say the same, and nothing of the file is stored.
            lost = disk_full(run.work, unrecorded) || !commit_kept(*tx);
        }
    }
    tx.reset();
    for (const std::exception_ptr& shown : {failed, unrecorded}) {
        if (!shown) continue;
        try {
            std::rethrow_exception(shown);
        } catch (const std::exception& e) {
            show_failure(run.ui, e, validator.failure_text(fc));
        }
    }
    if (lost) return lost_file(*file);
    return {fc.lines_read, fc.lines_passed, fc.counters, file->outputs().errors,
            file->outputs().accepted};
}

}  // namespace corvela
