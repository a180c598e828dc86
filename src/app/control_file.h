// The control file of a delivery: found in the folder's file list, read into the control-file
// table with its lines length-checked, the sending IPS checked against the habilitated sites,
// and the header boxes filled.
#pragma once

#include "app/program.h"
#include "platform/file_list.h"

namespace corvela {

// Reads the control file; done to go on with the run, stopped when the operator was told why it
// cannot. Database and file failures are thrown to the run.
Status read_control_file(Program& program, const FileList& files);

// Splits a control record into at most five trimmed fields (a trailing comma adds none).
std::vector<std::string> split_control_record(std::string_view line);

}  // namespace corvela
