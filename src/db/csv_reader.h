// Reads a CSV file of reference rows (RFC 4180): a header line, then one record per line; a value
// between double quotes may hold the separator, a doubled quote and line breaks. Lines end at
// CR LF, LF or CR. The file is decoded as a data file is (UTF-8 with or without a byte-order
// mark, else Windows-1252), and the separator, ',' or ';', is the one the header line uses more.
// Unquoted values are trimmed of blanks; blank lines are skipped. Every record must hold as many
// values as the header. A fault is a CsvError that names the line where its record begins.
#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace corvela {

class CsvError : public std::runtime_error {
  public:
    // A fault of the whole file.
    explicit CsvError(const std::string& message) : std::runtime_error(message) {}
    // A fault of one line: "Línea N de FILE: REASON".
    CsvError(const std::string& file, size_t line, const std::string& reason);
    size_t line() const { return line_; }

  private:
    size_t line_ = 0;
};

struct CsvRow {
    size_t line = 0;  // the line where the record begins, the header's line being counted
    std::vector<std::string> values;
};

struct CsvContent {
    std::string name;  // the file name, for messages
    char separator = ',';
    size_t header_line = 0;
    std::vector<std::string> header;
    std::vector<CsvRow> rows;
};

// Parses the bytes of a whole file; `name` is used in messages. Throws CsvError.
CsvContent parse_csv(std::string_view bytes, const std::string& name);
// The bytes of a whole file. Throws CsvError when the file cannot be read.
std::string read_file_bytes(const std::filesystem::path& path);
// Reads and parses a file. Throws CsvError, also when the file cannot be read.
CsvContent read_csv(const std::filesystem::path& path);

}  // namespace corvela
