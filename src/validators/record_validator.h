// What a file type's validator is to the reading frame: the frame's texts that differ per type,
// the field checks of the type, and the row a passing line adds to the working table.
#pragma once

#include <string>
#include <string_view>

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
    size_t marks_length = 0;
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

}  // namespace corvela
