// An Excel workbook (.xlsx) written with libxlsxwriter, row by row: each sheet's rows go to a
// temporary file of a folder the caller names as soon as the next row starts, so memory stays
// flat however many rows a sheet gets. Rows must therefore come in order within a sheet, and a
// note (comment) only on the row being written. Every value is written as text or as a number,
// as the caller says: a text keeps its leading zeros and long digit strings. The file appears at
// its path only when the whole book was written; until then it has a temporary name beside it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <string_view>

struct lxw_workbook;
struct lxw_worksheet;
struct lxw_format;

namespace corvela {

// The most characters a cell holds (counted as Excel counts them, in UTF-16 units).
inline constexpr size_t kCellCharacters = 32767;
// The most rows a sheet holds, its header row included.
inline constexpr long kSheetRows = 1048576;

// A value as a cell can hold it: cut, when longer, to its first characters followed by "…" so
// that it fills the cell exactly; `cut` tells whether it was.
std::string fit_to_cell(std::string_view text, bool& cut);

enum class CellStyle { Plain, Header, Marked };

class Workbook;

class Sheet {
  public:
    void text(uint32_t row, uint16_t col, std::string_view value,
              CellStyle style = CellStyle::Plain);
    void number(uint32_t row, uint16_t col, double value, CellStyle style = CellStyle::Plain);
    // A note on a cell of the row being written (or of a row still to come).
    void note(uint32_t row, uint16_t col, const std::string& text);
    void column_width(uint16_t first, uint16_t last, double width);
    // The first row stays in view and filters the rows below it, up to `last_row`, across
    // columns 0 to `last_col`.
    void header_row(uint32_t last_row, uint16_t last_col);

  private:
    friend class Workbook;
    Sheet(Workbook& book, lxw_worksheet* sheet) : book_(&book), sheet_(sheet) {}
    Workbook* book_;
    lxw_worksheet* sheet_;
};

class Workbook {
  public:
    // Writes to `path`; the sheets' rows wait in temporary files of `temp_folder`. A `large`
    // book may hold sheets of more than 4 GB of text (a zip format that older programs read less
    // well; needed only then).
    Workbook(const std::filesystem::path& path, const std::filesystem::path& temp_folder,
             bool large = false);
    ~Workbook();
    Workbook(const Workbook&) = delete;
    Workbook& operator=(const Workbook&) = delete;

    // A new sheet after the others. The name is made one Excel takes: characters it refuses
    // become "_", at most 31 characters, and " (2)", " (3)"… after a name already used.
    Sheet add_sheet(std::string_view name);
    // The document's title, shown by the programs that open it.
    void set_title(const std::string& title);
    // Writes the book and gives it its name. Throws, naming the file, when it could not.
    void close();

  private:
    friend class Sheet;
    [[noreturn]] void fail(int error) const;
    lxw_format* format(CellStyle style) const;
    std::string unique_name(std::string_view name);

    std::filesystem::path path_, temp_path_;
    std::string temp_folder_;
    std::string title_;
    lxw_workbook* book_ = nullptr;
    lxw_format* header_ = nullptr;
    lxw_format* marked_ = nullptr;
    std::set<std::string> names_;  // names used, in upper case
};

}  // namespace corvela
