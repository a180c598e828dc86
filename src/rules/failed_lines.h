// What a run tells, besides the error file, of each line that fails: the line as the error file
// writes it with its errors kept apart (`FileContext::errors`), for outputs that show each error
// on its own, such as the errors workbook. A run without one tells nobody.
#pragma once

#include <string_view>

#include "rules/file_context.h"

namespace corvela {

class FailedLines {
  public:
    virtual ~FailedLines() = default;
    // A data file starts, its field definitions in `fc.defs`, named `data_file_name`. `again`:
    // the same file is read a second time from its start (after its writer failed), so what the
    // first reading told of it no longer holds.
    virtual void file_started(const FileContext& fc, std::string_view data_file_name,
                              bool again) = 0;
    // A line that was split and failed its checks: `line` as the error file writes it (trailing
    // blanks removed), its errors in `fc.errors` and `fc.description`, its number
    // `fc.lines_read`.
    virtual void record_failed(const FileContext& fc, std::string_view line) = 0;
    // A line empty or too long, which is not split: `line` as read, and what the error file says
    // of it after "Error de ".
    virtual void structure_failed(const FileContext& fc, std::string_view line,
                                  std::string_view text) = 0;
};

}  // namespace corvela
