#include "validators/frame.h"

#include <SQLiteCpp/SQLiteCpp.h>

#include <system_error>

#include "db/schema.h"
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
        if (n <= fc.num_campos) fc.campo[static_cast<size_t>(n)].assign(value);
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
    for (int r = 0; r < run.control.size(); ++r)
        if (to_upper(left_chars(run.control.text(r, 2), 2)) == type) return run.control.text(r, 3);
    return {};
}

class FileRun {
  public:
    FileRun(RunContext& run, RecordValidator& v) : run_(run), v_(v), type_spec_(v.type_spec()) {}

    void read(const std::filesystem::path& path);
    FileContext& context() { return fc_; }
    const std::filesystem::path& error_file() const { return error_path_; }
    const std::filesystem::path& accepted_file() const { return accepted_path_; }

  private:
    void read_line();
    void structure_error();
    void decide(RowWriter& row);
    void show_progress();

    RunContext& run_;
    RecordValidator& v_;
    const TypeSpec& type_spec_;
    FileContext fc_;
    std::unique_ptr<FieldDefinitions> defs_;
    std::unique_ptr<RowWriter> row_;
    OutputFile accepted_, errors_;
    std::filesystem::path accepted_path_, error_path_;
    bool count_failed_ = false;
    std::string out_;
};

void FileRun::read(const std::filesystem::path& path) {
    const FileType& file = v_.file();
    row_ = std::make_unique<RowWriter>(run_.work, file.table, working_columns(file.table));
    fc_.type = file.type;
    fc_.lineas_leidas = fc_.lineas_validas = 0;
    fc_.varios_mensajes = 0;
    fc_.declared_count = declared_count(run_);
    defs_ = std::make_unique<FieldDefinitions>(run_.ref, file.type);
    fc_.defs = defs_.get();
    fc_.num_campos = defs_->cuenta_campos();
    run_.length_slot = fc_.num_campos;
    run_.field_slot = nullptr;
    fc_.campo.assign(static_cast<size_t>(fc_.num_campos) + 1, std::string());
    limpia_contadores(fc_);
    v_.start_file(run_, fc_);
    LineReader reader(path);
    accepted_path_ = accepted_file_path(run_);
    error_path_ = error_file_path(run_);
    accepted_ = OutputFile(accepted_path_, reader.encoding());
    errors_ = OutputFile(error_path_, reader.encoding());
    fc_.suma = defs_->suma_longitudes();
    // Each line is read straight into the record's line, the text the outputs are written from.
    while (reader.next(fc_.linea)) read_line();
    accepted_.close();
    errors_.close();
}

void FileRun::read_line() {
    const std::string& line = fc_.linea;
    size_t length = char_length(trim(line));
    if (length == 0 || length > static_cast<size_t>(fc_.suma)) {
        structure_error();
    } else {
        fc_.lineas_leidas += 1;
        fill_marcas(fc_,
                    type_spec_.marcas_length ? type_spec_.marcas_length
                                             : static_cast<size_t>(fc_.num_campos),
                    '0');
        fc_.errores_linea = 0;
        limpia_mensajes(run_);
        int fields = split_fields(line, fc_);
        fc_.campos_contados = fields;
        count_failed_ =
            type_spec_.fewer_fields_allowed ? fields > fc_.num_campos : fields != fc_.num_campos;
        if (count_failed_) {
            fc_.errores_linea = 1;
            if (fc_.descripcion.empty())
                fc_.descripcion = "Estructura: Tiene un numero mayor de campos";
            else
                plain_join(fc_, " Estructura: el registro contiene un numero mayor de campos");
            cuenta_error(fc_, Counter::Estructura);
            if (!type_spec_.fewer_fields_allowed)
                fill_marcas(fc_,
                            type_spec_.marcas_length ? type_spec_.marcas_length
                                                     : static_cast<size_t>(fc_.num_campos),
                            '1');
        } else {
            v_.check_fields(run_, fc_);
        }
        decide(*row_);
        for (auto& f : fc_.campo) f.clear();
    }
    fc_.descripcion.clear();
    show_progress();
}

void FileRun::structure_error() {
    fc_.lineas_leidas += 1;
    errors_.write_line("Linea " + number_text(static_cast<double>(fc_.lineas_leidas)) +
                       type_spec_.structure_text);
    cuenta_error(fc_, Counter::Estructura);
}

void FileRun::decide(RowWriter& row) {
    std::string_view kept = rtrim(fc_.linea);
    if (fc_.errores_linea == 0) {
        accepted_.write_line(kept);
        fc_.lineas_validas += 1;
        v_.store(run_, fc_, row);
        return;
    }
    out_.assign(kept);
    out_ += count_failed_ ? type_spec_.count_separator : type_spec_.record_separator;
    out_ += number_text(static_cast<double>(fc_.lineas_leidas));
    out_ += " Error de ";
    out_ += fc_.descripcion;
    errors_.write_line(out_);
    fc_.errores_linea = 0;
    fc_.varios_mensajes = 0;
    fc_.descripcion.clear();
}

void FileRun::show_progress() {
    if (!run_.ui.wants_status()) return run_.ui.process_events();
    run_.ui.set_status("Archivo en proceso: " + std::string(trim(run_.data_file_name)) + " " +
                       number_text(static_cast<double>(fc_.lineas_leidas)) + " de " +
                       number_text(leading_number_value(fc_.declared_count)));
    run_.ui.process_events();
}
}  // namespace

FileCounts leer_archivo(RunContext& run, RecordValidator& validator,
                        const std::filesystem::path& path) {
    FileRun file(run, validator);
    SQLite::Transaction tx(run.work.db());
    run.ui.set_busy(true);
    try {
        file.read(path);
    } catch (const std::exception& e) {
        show_failure(run.ui, e, validator.failure_text(file.context()));
    }
    run.ui.set_busy(false);
    FileContext& fc = file.context();
    ErroresKey key{run.radicacion, run.ips_code, to_upper(left_chars(run.data_file_name, 2)),
                   run.nremision_box};
    try {
        graba_errores(run.work, key, fc);
        tx.commit();
    } catch (const std::exception& e) {
        show_failure(run.ui, e, validator.failure_text(file.context()));
        // The rows of the lines counted as passed are kept even when the error row failed. When
        // this commit fails as well, the failure above has already been shown for this file; a
        // second message would say the same, and the transaction rolls back on its own.
        try {
            tx.commit();
        } catch (...) {
        }
    }
    return {fc.lineas_leidas, fc.lineas_validas, fc.C, file.error_file(), file.accepted_file()};
}

}  // namespace corvela
