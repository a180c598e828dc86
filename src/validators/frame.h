// The reading frame shared by every data file type: open the outputs, read each line, check its
// structure, split its fields, run the type's field checks, decide pass or fail, write the
// accepted line and the working-table row or the error-file line, and write the file's
// `ERRORES` row at the end. What differs per type lives in a RecordValidator
// (validators/record_validator.h).
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "rules/file_context.h"
#include "rules/run_context.h"
#include "validators/record_validator.h"

namespace corvela {

// Validates one data file. Failures of the database or of a file are reported
// and end the file; the rows of the lines passed so far and its `ERRORES` row are kept, unless
// the database cannot keep them (`lost`).
FileCounts validate_file(RunContext& run, RecordValidator& validator,
                         const std::filesystem::path& path);

// Splits a line on commas into fc.fields[1..n] (each trimmed); returns the number of fields.
int split_fields(std::string_view line, FileContext& fc);

// The output names of a data file.
std::filesystem::path error_file_path(const RunContext& run);
std::filesystem::path accepted_file_path(const RunContext& run);

}  // namespace corvela
