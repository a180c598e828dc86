// "Leer Archivos": one validation run over the delivery in a folder.
#pragma once

#include <filesystem>

#include "app/program.h"
#include "platform/result.h"
#include "rules/run_context.h"

namespace corvela {

// Done when the run reached its summary; stopped when it ended on a message before it (the
// message was shown).
Status run_validation(Program& program, const std::filesystem::path& folder);

// Empties the working tables, and the error rows of runs never saved. The run state becomes
// Initial, kept and in memory: nothing is left to save until a run reaches its summary.
void empty_working_tables(Program& program);

// The summary texts of the run.
std::string totals_text(double read, double passed, double minutes, double seconds,
                        const std::string& per_record);
std::string file_table(const std::vector<ControlRecord>& records, int files);

}  // namespace corvela
