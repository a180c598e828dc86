#include "reports/errors_workbook.h"

#include <algorithm>
#include <random>
#include <system_error>

#include "app/hints.h"
#include "platform/config.h"
#include "platform/record_split.h"
#include "platform/text.h"
#include "reports/delivery_report.h"
#include "reports/report_workbook.h"
#include "rules/error_recording.h"

namespace corvela {

namespace {
// Above this many bytes of failing lines the book may pass what a plain zip holds.
constexpr std::streamoff kLargeBook = std::streamoff(1) << 30;
// Files per inconsistency table, as the report lays them out.
constexpr size_t kFilesPerTable = 10;

std::string code_of(std::string_view data_file_name) {
    std::string name(trim(data_file_name));
    if (name.size() >= 4 && to_upper(name.substr(name.size() - 4)) == ".TXT")
        name.resize(name.size() - 4);
    return name;
}

// The fields of a split line, at most `n`: when the line has more, the last column holds the
// rest of the line from its n-th field on, so that nothing of it is lost.
std::vector<std::string> line_fields(std::string_view line, int n) {
    std::vector<std::string> fields;
    const int count = split_record(line, [&](int k, std::string_view value) {
        if (k < n) fields.emplace_back(value);
    });
    if (n < 1 || count < n) return fields;
    // The n-th field starts after the (n - 1)-th comma.
    size_t start = 0;
    for (int k = 1; k < n; ++k) start = line.find(',', start) + 1;
    std::string_view last = line.substr(start);
    if (count == n) last = last.substr(0, last.find(','));
    fields.emplace_back(trim(last));
    return fields;
}

void put(std::string& out, uint32_t value) {
    out.append(reinterpret_cast<const char*>(&value), sizeof value);
}
void put(std::string& out, std::string_view text) {
    put(out, static_cast<uint32_t>(text.size()));
    out.append(text);
}
bool get(std::ifstream& in, uint32_t& value) {
    return static_cast<bool>(in.read(reinterpret_cast<char*>(&value), sizeof value));
}
bool get(std::ifstream& in, std::string& text) {
    uint32_t size = 0;
    if (!get(in, size)) return false;
    text.resize(size);
    return static_cast<bool>(in.read(text.data(), size));
}

std::filesystem::path spool_name(const std::filesystem::path& folder) {
    std::random_device random;
    return folder / ("~corvela-errores-" + std::to_string(random()) + ".tmp");
}
}  // namespace

RunSummary run_summary(Program& program) {
    RunSummary summary;
    std::vector<FileCounters> read;
    for (const ControlRecord& record : program.delivery.records) {
        std::string code = record.code();
        if (ltrim(code).empty()) continue;
        summary.files.push_back({code, record.read(), record.passed()});
        std::string tipo = to_upper(left_chars(trim(code), 2));
        // A type without field definitions has no labels to show its counters under.
        if (!record.validated || file_type_name(tipo).empty() ||
            FieldDefinitions(*program.ref, tipo).count() == 0)
            continue;
        FileCounters& c = read.emplace_back(FileCounters{tipo, {}});
        for (size_t j = 1; j < c.counters.size(); ++j)
            c.counters[j] = record.validated->counters[counter_of_code(static_cast<int>(j))];
    }
    for (size_t from = 0; from < read.size(); from += kFilesPerTable) {
        std::vector<FileCounters> part(read.begin() + static_cast<std::ptrdiff_t>(from),
                                       read.begin() + static_cast<std::ptrdiff_t>(std::min(
                                                          read.size(), from + kFilesPerTable)));
        summary.counters.push_back(inconsistency_list(*program.ref, part));
    }
    return summary;
}

ErrorsWorkbook::ErrorsWorkbook(std::filesystem::path temp_folder, long sheet_rows)
    : temp_folder_(std::move(temp_folder)), sheet_rows_(std::max(2L, sheet_rows)) {}

ErrorsWorkbook::~ErrorsWorkbook() {
    spool_.close();
    std::error_code ec;
    if (!spool_path_.empty()) std::filesystem::remove(spool_path_, ec);
}

void ErrorsWorkbook::file_started(const FileContext& fc, std::string_view data_file_name,
                                  bool again) {
    if (!failure_.empty()) return;
    if (!spool_.is_open()) {
        spool_path_ = spool_name(temp_folder_);
        spool_.open(spool_path_, std::ios::binary | std::ios::trunc);
        if (!spool_) failure_ = spool_path_.string();
    }
    if (again && !sections_.empty()) {
        // The file is read again from its start: its first reading's lines are dropped.
        Section& last = sections_.back();
        spool_.seekp(last.offset);
        last.lines = 0;
        last.most_errors = 1;
        last.cut.clear();
        return;
    }
    Section& s = sections_.emplace_back();
    s.name = code_of(data_file_name);
    for (int k = 1; k <= fc.field_count; ++k) s.fields.push_back(fc.defs ? fc.defs->name(k) : "");
    s.offset = spool_.tellp();
}

void ErrorsWorkbook::record_failed(const FileContext& fc, std::string_view line) {
    Row row;
    row.number = fc.lines_read;
    row.fields = line_fields(line, fc.field_count);
    std::vector<const LineError*> errors;
    for (const LineError& e : fc.errors) errors.push_back(&e);
    // In the order their texts stand in the description; an error without text where it was found.
    std::stable_sort(errors.begin(), errors.end(),
                     [](const LineError* a, const LineError* b) { return a->begin < b->begin; });
    for (const LineError* e : errors) row.errors.emplace_back(e->field, error_text(fc, *e));
    keep(row);
}

void ErrorsWorkbook::structure_failed(const FileContext& fc, std::string_view line,
                                      std::string_view text) {
    Row row;
    row.number = fc.lines_read;
    row.fields.emplace_back(line);
    row.errors.emplace_back(0, text);
    keep(row);
}

void ErrorsWorkbook::keep(const Row& row) {
    if (!failure_.empty() || sections_.empty()) return;
    Section& s = sections_.back();
    const auto sheet = static_cast<size_t>(s.lines / (sheet_rows_ - 1));
    if (s.cut.size() <= sheet) s.cut.resize(sheet + 1, 0);
    std::string out;
    put(out, static_cast<uint32_t>(row.number));
    put(out, static_cast<uint32_t>(row.fields.size()));
    bool cut = false;
    for (const std::string& f : row.fields) {
        put(out, fit_to_cell(f, cut));
        s.cut[sheet] += cut;
    }
    put(out, static_cast<uint32_t>(row.errors.size()));
    for (const auto& [field, text] : row.errors) {
        put(out, static_cast<uint32_t>(field));
        put(out, fit_to_cell(text, cut));
        s.cut[sheet] += cut;
    }
    if (!spool_.write(out.data(), static_cast<std::streamsize>(out.size()))) {
        failure_ = spool_path_.string();
        return;
    }
    s.lines += 1;
    s.most_errors = std::max(s.most_errors, row.errors.size());
}

long ErrorsWorkbook::failed_lines() const {
    long lines = 0;
    for (const Section& s : sections_) lines += s.lines;
    return lines;
}

bool ErrorsWorkbook::read_row(std::ifstream& in, Row& row) const {
    uint32_t number = 0, count = 0;
    if (!get(in, number) || !get(in, count)) return false;
    row.number = number;
    row.fields.resize(count);
    for (std::string& f : row.fields)
        if (!get(in, f)) return false;
    if (!get(in, count)) return false;
    row.errors.resize(count);
    for (auto& [field, text] : row.errors) {
        uint32_t k = 0;
        if (!get(in, k) || !get(in, text)) return false;
        field = static_cast<int>(k);
    }
    return true;
}

void ErrorsWorkbook::write_summary(Workbook& book, const RunSummary& summary) const {
    Sheet sheet = book.add_sheet("Resumen");
    sheet.column_width(0, 0, 34);
    sheet.column_width(1, 40, 14);
    ListView files{{"Archivo", "Leidos", "Errados", "Pasaron"}, {}};
    double read = 0, passed = 0;
    for (const RunSummary::File& f : summary.files) {
        files.items.push_back(
            {f.code, value_text(f.read), value_text(f.read - f.passed), value_text(f.passed)});
        read += f.read;
        passed += f.passed;
    }
    files.items.push_back(
        {"Total", value_text(read), value_text(read - passed), value_text(passed)});
    uint32_t row = write_list(sheet, 0, files);
    for (const ListView& counters : summary.counters) row = write_list(sheet, row + 1, counters);
}

void ErrorsWorkbook::write_section(Workbook& book, std::ifstream& in, const Section& s) const {
    const size_t n = std::max<size_t>(1, s.fields.size());
    const auto first_error = static_cast<uint16_t>(1 + n);
    const auto last_col = static_cast<uint16_t>(first_error + s.most_errors - 1);
    Row row;
    for (long done = 0, sheet_index = 0; done < s.lines; ++sheet_index) {
        const long rows = std::min(s.lines - done, sheet_rows_ - 1);
        Sheet sheet = book.add_sheet(s.name);
        sheet.column_width(0, 0, 8);
        sheet.column_width(1, static_cast<uint16_t>(first_error - 1), 16);
        sheet.column_width(first_error, last_col, 48);
        sheet.header_row(static_cast<uint32_t>(rows), last_col);
        sheet.text(0, 0, "Línea", CellStyle::Header);
        for (size_t k = 0; k < n; ++k)
            sheet.text(0, static_cast<uint16_t>(1 + k), k < s.fields.size() ? s.fields[k] : "",
                       CellStyle::Header);
        for (size_t e = 0; e < s.most_errors; ++e)
            sheet.text(0, static_cast<uint16_t>(first_error + e), "Error " + std::to_string(e + 1),
                       CellStyle::Header);
        const long cut = static_cast<size_t>(sheet_index) < s.cut.size()
                             ? s.cut[static_cast<size_t>(sheet_index)]
                             : 0;
        if (cut > 0)
            sheet.note(
                0, 0,
                "Valores recortados a 32.767 caracteres (terminan en …): " + std::to_string(cut));
        for (uint32_t r = 1; r <= static_cast<uint32_t>(rows); ++r) {
            if (!read_row(in, row))
                throw std::runtime_error("No se pudo leer " + spool_path_.string());
            sheet.number(r, 0, static_cast<double>(row.number));
            std::vector<bool> marked(n + 1, false);
            for (const auto& e : row.errors)
                if (e.first >= 1 && static_cast<size_t>(e.first) <= n)
                    marked[static_cast<size_t>(e.first)] = true;
            for (size_t k = 0; k < row.fields.size() && k < n; ++k)
                if (!row.fields[k].empty() || marked[k + 1])
                    sheet.text(r, static_cast<uint16_t>(1 + k), row.fields[k],
                               marked[k + 1] ? CellStyle::Marked : CellStyle::Plain);
            for (size_t e = 0; e < row.errors.size(); ++e)
                sheet.text(r, static_cast<uint16_t>(first_error + e), row.errors[e].second);
        }
        done += rows;
    }
}

void ErrorsWorkbook::save(const std::filesystem::path& file, const RunSummary& summary) {
    if (spool_.is_open() && !spool_.flush()) failure_ = spool_path_.string();
    if (!failure_.empty())
        throw std::runtime_error("No se pudo escribir el libro " + file.string() +
                                 ": no se pudo guardar " + failure_);
    const std::streamoff size = spool_.is_open() ? static_cast<std::streamoff>(spool_.tellp()) : 0;
    Workbook book(file, temp_folder_, size > kLargeBook);
    book.set_title("Errores de la validación");
    write_summary(book, summary);
    std::ifstream in;
    if (!spool_path_.empty()) in.open(spool_path_, std::ios::binary);
    for (const Section& s : sections_) {
        in.seekg(s.offset);
        write_section(book, in, s);
    }
    book.close();
}

AttachedWorkbook::AttachedWorkbook(Program& program, Finish finish)
    : program_(program), book_(results_folder(program.config.results_root)) {
    program.failed_lines = &book_;
    program.before_summary = [this, finish = std::move(finish)](Program& p) {
        return finish(book_, p);
    };
}

AttachedWorkbook::~AttachedWorkbook() {
    program_.failed_lines = nullptr;
    program_.before_summary = nullptr;
}

std::filesystem::path errors_workbook_path(const std::string& results_folder,
                                           const std::string& ips_code) {
    return std::filesystem::path(results_folder) / (ips_code + "_errores.xlsx");
}

std::string keep_errors_workbook(ErrorsWorkbook& book, Program& program) {
    const std::vector<ControlRecord>& records = program.delivery.records;
    const std::string ips = records.empty() ? "" : records[0].ips_code.value_or("");
    const std::filesystem::path file =
        errors_workbook_path(results_folder(program.config.results_root), ips);
    std::error_code ec;
    if (book.failed_lines() == 0) {
        std::filesystem::remove(file, ec);
        return {};
    }
    program.ui.set_busy(true);
    std::string hint;
    try {
        book.save(file, run_summary(program));
        hint = errors_workbook_hint(file);
    } catch (const std::exception& e) {
        std::filesystem::remove(file, ec);
        hint = e.what();
    }
    program.ui.set_busy(false);
    return hint;
}

}  // namespace corvela
