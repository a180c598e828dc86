// The control file of a delivery: found in the folder's file list, read into the control-file
// table with its lines length-checked, the sending IPS checked against the habilitated sites,
// and the header boxes filled.
#pragma once

#include <stdexcept>

#include "app/program.h"
#include "platform/file_list.h"

namespace corvela {

// A control file with more records than the control-file table has rows.
class ControlTableOverflow : public std::runtime_error {
  public:
    ControlTableOverflow() : std::runtime_error("control-file table overflow") {}
};

// Reads the control file; true to go on with the run, false when it stopped (the operator was
// told why). Database and file failures are thrown to the run.
bool read_control_file(Program& program, const FileList& files);

// Splits a control record into at most five trimmed fields (a trailing comma adds none).
std::vector<std::string> split_control_record(std::string_view line);

}  // namespace corvela
