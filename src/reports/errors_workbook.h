// The errors workbook of a validation run, for the operator who fixes the source data in a
// spreadsheet. Its first sheet, "Resumen", holds the run's summary (file, read, failed, passed)
// and the counters of each file read under the labels of the inconsistency report. Then comes
// one sheet per data file with failing lines, named by the file's code: one row per failing line
// with its number, each field in the column named for it, the cell of each field that failed
// marked, and the line's errors one per cell after the fields. A sheet that would pass Excel's
// rows goes on in another of the same name and a number.
//
// While the run goes on, the failing lines wait in a temporary file of the results folder; the
// book is written from it at the end, row by row, so memory stays flat however many lines fail.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "app/program.h"
#include "reports/html_table.h"
#include "reports/workbook.h"
#include "rules/failed_lines.h"

namespace corvela {

// What the workbook's first sheet shows of a run.
struct RunSummary {
    struct File {
        std::string code;  // the control file's code of the data file
        double read = 0, passed = 0;
    };
    std::vector<File> files;
    // The counters of the files read, as the inconsistency report lays them out (ten files a
    // table).
    std::vector<ListView> counters;
};

// The summary of the last run of `program`: every file of its control file with its counts, and
// the counters of each file it read.
RunSummary run_summary(Program& program);

class ErrorsWorkbook : public FailedLines {
  public:
    // The failing lines wait in a temporary file of `temp_folder` (the results folder: the run
    // makes it before its first file). A sheet holds `sheet_rows` rows, its header included.
    explicit ErrorsWorkbook(std::filesystem::path temp_folder, long sheet_rows = kSheetRows);
    ~ErrorsWorkbook() override;
    ErrorsWorkbook(const ErrorsWorkbook&) = delete;
    ErrorsWorkbook& operator=(const ErrorsWorkbook&) = delete;

    void file_started(const FileContext& fc, std::string_view data_file_name, bool again) override;
    void record_failed(const FileContext& fc, std::string_view line) override;
    void structure_failed(const FileContext& fc, std::string_view line,
                          std::string_view text) override;

    // The lines that failed in the run so far.
    long failed_lines() const;
    // Writes the book to `file`. Throws, naming the file, when it could not; nothing is left at
    // `file` then.
    void save(const std::filesystem::path& file, const RunSummary& summary);

  private:
    // The failing lines of one data file.
    struct Section {
        std::string name;                 // the file's code
        std::vector<std::string> fields;  // display names of its fields 1..n
        std::streamoff offset = 0;        // where its lines start in the temporary file
        long lines = 0;
        size_t most_errors = 1;
        std::vector<long> cut;  // per sheet, the values cut to fit their cell
    };
    // One failing line as it waits: its fields and its errors (field, text).
    struct Row {
        long number = 0;
        std::vector<std::string> fields;
        std::vector<std::pair<int, std::string>> errors;
    };

    void keep(const Row& row);
    bool read_row(std::ifstream& in, Row& row) const;
    void write_summary(Workbook& book, const RunSummary& summary) const;
    void write_section(Workbook& book, std::ifstream& in, const Section& section) const;

    std::filesystem::path temp_folder_, spool_path_;
    long sheet_rows_;
    std::ofstream spool_;
    std::vector<Section> sections_;
    std::string failure_;  // why the failing lines could not be kept, when they could not
};

// An errors workbook told of the failing lines of every run of `program` while it lives; before
// a run's summary, `finish` writes it (given the book and the program) and returns the hint of
// the summary box.
class AttachedWorkbook {
  public:
    using Finish = std::function<std::string(ErrorsWorkbook&, Program&)>;
    AttachedWorkbook(Program& program, Finish finish);
    ~AttachedWorkbook();
    AttachedWorkbook(const AttachedWorkbook&) = delete;
    AttachedWorkbook& operator=(const AttachedWorkbook&) = delete;

  private:
    Program& program_;
    ErrorsWorkbook book_;
};

// The desktop program's errors workbook of an IPS: RESULTS_ROOT/Validacion/<IPS>_errores.xlsx.
std::filesystem::path errors_workbook_path(const std::string& results_folder,
                                           const std::string& ips_code);
// After a run of `program` whose failing lines `book` was told of: writes the workbook of the
// delivery's IPS when a line failed, and otherwise removes the one an earlier run left, so that
// none is stale. Returns the hint of the run's summary box: the workbook written, or why it could
// not be (none is left then); empty when no line failed.
std::string keep_errors_workbook(ErrorsWorkbook& book, Program& program);

}  // namespace corvela
