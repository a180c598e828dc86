#include "headless/json_output.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "platform/text.h"

namespace corvela {

namespace {
using json = nlohmann::ordered_json;

// A count of the inconsistencies report as a number (a whole one as an integer); null for an
// empty cell.
json count_cell_json(const std::string& cell) {
    if (cell.empty()) return nullptr;
    const double value = leading_number_value(cell);
    if (value == std::trunc(value) && std::fabs(value) < 9e15) return static_cast<long long>(value);
    return value;
}

// In the inconsistencies report each file type's column (its field names) is followed by the
// column of its counts, and every counts column is headed "Frecuencia".
bool is_counts_column(size_t c) {
    return c % 2 == 1;
}

// The inconsistencies report's columns, each with a name of its own: a counts column takes the
// name of its type's column before it ("Usuarios_Frecuencia"); a name still shared (two files of
// one type) is numbered from its second column on ("_2", "_3").
std::vector<std::string> inconsistency_columns(const std::vector<std::string>& headers) {
    std::vector<std::string> names = headers;
    for (size_t c = 1; c < names.size(); ++c)
        if (is_counts_column(c)) names[c] = headers[c - 1] + "_" + headers[c];
    std::vector<std::string> numbered = names;
    for (size_t c = 0; c < names.size(); ++c) {
        const auto seen = std::count(names.begin(), names.begin() + static_cast<long>(c), names[c]);
        if (seen > 0) numbered[c] += "_" + std::to_string(seen + 1);
    }
    return numbered;
}

// The rows of a report: cell texts, or for the inconsistencies report its counts as numbers.
json report_rows(const ListView& table, ReportCells cells) {
    json rows = json::array();
    for (const auto& item : table.items) {
        if (cells == ReportCells::Texts) {
            rows.push_back(item);
            continue;
        }
        json row = json::array();
        for (size_t c = 0; c < item.size(); ++c)
            row.push_back(is_counts_column(c) ? count_cell_json(item[c]) : json(item[c]));
        rows.push_back(row);
    }
    return rows;
}

json path_json(const std::filesystem::path& path) {
    return path.empty() ? json(nullptr) : json(path.string());
}

json file_json(const ControlRecord& record) {
    json file = {
        {"code", record.code()},
        {"declared", record.declared()},
        {"read", record.has_read() ? json(static_cast<long long>(record.read())) : json(nullptr)},
        {"passed",
         record.lines_passed ? json(static_cast<long long>(record.passed())) : json(nullptr)},
        {"failed", nullptr},  // read − passed, where both are counted
        {"counters", nullptr},
        {"error_file", nullptr},
        {"accepted_file", nullptr},
    };
    if (!file["read"].is_null() && !file["passed"].is_null())
        file["failed"] = file["read"].get<long long>() - file["passed"].get<long long>();
    if (!record.validated) return file;
    const FileCounts& c = *record.validated;
    json counters = json::object();
    for (int code = 1; code <= Counters::kCount; ++code)
        counters["C" + std::to_string(code)] =
            static_cast<long long>(c.counters[counter_of_code(code)]);
    file["counters"] = counters;
    file["error_file"] = path_json(c.error_file);
    file["accepted_file"] = path_json(c.accepted_file);
    return file;
}
}  // namespace

int exit_status(const Status& outcome) {
    switch (outcome.ending()) {
        case Ending::Done:
            return kExitDone;
        case Ending::Stopped:
            return kExitStopped;
        default:
            return kExitFailure;
    }
}

nlohmann::ordered_json messages_json(const ConsoleUi& ui) {
    json messages = json::array();
    for (const auto& box : ui.boxes()) {
        json m = {{"title", box.title}, {"text", box.text}};
        if (box.answer) m["answer"] = *box.answer ? "Sí" : "No";
        if (!box.hint.empty()) m["hint"] = box.hint;
        messages.push_back(m);
    }
    return messages;
}

nlohmann::ordered_json validate_json(int exit_status, const Program& program, const ConsoleUi& ui,
                                     const std::vector<std::pair<int, int>>& months,
                                     std::optional<double> radicacion) {
    long long read = 0, passed = 0;
    json files = json::array();
    for (const ControlRecord& record : program.delivery.records) {
        // The table keeps room for rows the control file did not fill.
        if (record.code().empty() && !record.validated) continue;
        files.push_back(file_json(record));
        read += static_cast<long long>(record.read());
        passed += static_cast<long long>(record.passed());
    }
    json month_rows = json::array();
    for (const auto& [month, year] : months)
        month_rows.push_back({{"month", month}, {"year", year}});
    return {
        {"exit_status", exit_status},
        {"messages", messages_json(ui)},
        {"summary", {{"read", read}, {"passed", passed}, {"failed", read - passed}}},
        {"files", files},
        {"months", month_rows},
        {"run_state", std::string(state_letter(program.run_state))},
        {"radicacion", radicacion ? json(static_cast<long long>(*radicacion)) : json(nullptr)},
    };
}

nlohmann::ordered_json report_json(int exit_status, const ConsoleUi& ui, const std::string& title,
                                   const ListView& table, const std::string& page,
                                   ReportCells cells) {
    return {
        {"exit_status", exit_status},
        {"messages", messages_json(ui)},
        {"title", title},
        {"columns", cells == ReportCells::Texts ? table.column_headers
                                                : inconsistency_columns(table.column_headers)},
        {"rows", report_rows(table, cells)},
        {"page", page.empty() ? json(nullptr) : json(page)},
    };
}

void print_json(const json& document) {
    // Texts come from the delivery's files; a byte that is not UTF-8 is replaced, not fatal.
    std::printf("%s\n", document.dump(2, ' ', false, json::error_handler_t::replace).c_str());
    std::fflush(stdout);
}

}  // namespace corvela
