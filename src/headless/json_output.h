// The documents `--json` prints for scripts in place of the text made for people, which the web
// service's operations give as well: the exit status, the boxes shown (with the answers given),
// and per command what it counted or listed. The format is described in docs/json.md.
#pragma once

#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/program.h"
#include "headless/console_ui.h"
#include "reports/delivery_report.h"

namespace corvela {

inline constexpr int kExitDone = 0;
inline constexpr int kExitStopped = 1;  // stopped on a message before its end
inline constexpr int kExitFailure = 2;  // usage, configuration or database failure

// The exit status of an operation of the windows' buttons.
int exit_status(const Status& outcome);

// Every box shown: title, text ("\n" where the box shows CR), for a question the answer, and
// Corvela's hint beside the box where it had one.
nlohmann::ordered_json messages_json(const ConsoleUi& ui);

// What a validation run showed and counted; `months` is the grid the run reported and
// `radicacion` the number of the save, when it saved.
nlohmann::ordered_json validate_json(int exit_status, const Program& program, const ConsoleUi& ui,
                                     const std::vector<std::pair<int, int>>& months,
                                     std::optional<double> radicacion);

// How a report's rows reach a script: as the texts of its cells (the summary report), or with
// each count a number and each column a name of its own (the inconsistencies report, whose columns
// go by pairs: a file type's field names, then their counts under "Frecuencia").
enum class ReportCells { Texts, TypedCounts };

// A report's table: its title, column names and rows, and the page written when there was one.
nlohmann::ordered_json report_json(int exit_status, const ConsoleUi& ui, const std::string& title,
                                   const ListView& table, const std::string& page,
                                   ReportCells cells = ReportCells::Texts);

// The document on standard output.
void print_json(const nlohmann::ordered_json& document);

}  // namespace corvela
