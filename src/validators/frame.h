// The reading frame shared by every data file type: open the outputs, read each line, check its
// structure, split its fields, run the type's field checks, decide pass or fail, write the
// accepted line and the working-table row or the error-file line, and write the file's
// `ERRORES` row at the end. What differs per type lives in a RecordValidator.
#pragma once

#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "db/file_types.h"
#include "db/row.h"
#include "db/row_sink.h"
#include "rules/file_context.h"
#include "rules/run_context.h"

namespace corvela {

// What a validator changes in the frame.
struct TypeSpec {
    // Text after "Linea " + number of a line that is empty or too long.
    std::string structure_text = " Error de Estructura";
    // Separator before the line number of a failing record, after the field checks and after
    // the field-count check.
    std::string record_separator = " / linea ";
    std::string count_separator = " / linea ";
    // Length of the per-field marks of a line; 0 means the field count.
    size_t marcas_length = 0;
    // A line with fewer fields than the definition goes on to the field checks.
    bool fewer_fields_allowed = false;
};

class RecordValidator {
  public:
    // `type` is the code of the file type the validator reads.
    explicit RecordValidator(std::string_view type) : file_(file_type(type)) {}
    virtual ~RecordValidator() = default;
    const FileType& file() const { return file_; }
    virtual const TypeSpec& type_spec() const;
    // Called once when the file starts.
    virtual void start_file(RunContext&, FileContext&) {}
    // The field checks of the type, in field order, on the split line.
    virtual void check_fields(RunContext& run, FileContext& fc) = 0;
    // Adds the row of a passing line to the working table: the values the file type's columns
    // bind from the line, as `adjust_row` changes them.
    virtual void store(RunContext& run, FileContext& fc, RowSink& rows);
    // The text of the failure message between the error number and the two CRs.
    virtual std::string failure_text(const FileContext&) const {
        return std::string(" al leer archivo de ") + file_.file_word + " ";
    }

  protected:
    // The validator's own changes to the row bound from a passing line.
    virtual void adjust_row(const RunContext&, const FileContext&, Row&) const {}

  private:
    const FileType& file_;
};

// What the run of one data file counted, and where its outputs went (empty when the file ended
// before they were opened).
struct FileCounts {
    long lineas_leidas = 0;
    long lineas_validas = 0;
    std::array<double, 31> C{};  // C[1]..C[30]
    std::filesystem::path error_file, accepted_file;
    // The database kept nothing of the file (a full disk, a server gone away): the counts are
    // zero, as what is stored, and the run cannot go on.
    bool lost = false;
};

// `leer_archivo`: validates one data file. Failures of the database or of a file are reported
// and end the file; the rows of the lines passed so far and its `ERRORES` row are kept, unless
// the database cannot keep them (`lost`).
FileCounts leer_archivo(RunContext& run, RecordValidator& validator,
                        const std::filesystem::path& path);

// Splits a line on commas into fc.campo[1..n] (each trimmed); returns the number of fields.
int split_fields(std::string_view line, FileContext& fc);

// The output names of a data file.
std::filesystem::path error_file_path(const RunContext& run);
std::filesystem::path accepted_file_path(const RunContext& run);

}  // namespace corvela
