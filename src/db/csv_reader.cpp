#include "db/csv_reader.h"

#include <fmt/format.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "platform/encoding.h"
#include "platform/failure.h"
#include "platform/text.h"

namespace corvela {

CsvError::CsvError(const std::string& file, size_t line, const std::string& reason)
    : std::runtime_error(fmt::format("Línea {} de {}: {}", line, file, reason)), line_(line) {}

namespace {
bool is_line_end(char c) {
    return c == '\n' || c == '\r';
}

// Line ends in a piece of text, CR LF counting once.
size_t count_line_ends(std::string_view s) {
    size_t n = 0;
    for (size_t i = 0; i < s.size(); ++i)
        if (s[i] == '\n' || (s[i] == '\r' && (i + 1 == s.size() || s[i + 1] != '\n'))) ++n;
    return n;
}

// Walks the decoded text record by record, keeping the number of the current line.
class Scanner {
  public:
    Scanner(std::string_view text, const std::string& name) : text_(text), name_(name) {}

    // Skips lines that hold only blanks; false at the end of the text.
    bool skip_blank_lines() {
        for (;;) {
            size_t p = pos_;
            while (p < text_.size() && text_[p] == ' ') ++p;
            if (p == text_.size()) {
                pos_ = p;
                return false;
            }
            if (!is_line_end(text_[p])) return true;
            pos_ = p;
            line_end();
        }
    }

    // The separator the line at the current position uses more outside quotes: ';' or ','.
    char separator_of_line() const {
        size_t commas = 0, semicolons = 0;
        bool quoted = false;
        for (size_t p = pos_; p < text_.size() && (quoted || !is_line_end(text_[p])); ++p) {
            char c = text_[p];
            if (c == '"') quoted = !quoted;
            if (quoted) continue;
            if (c == ',') ++commas;
            if (c == ';') ++semicolons;
        }
        return semicolons > commas ? ';' : ',';
    }

    CsvRow record(char separator) {
        CsvRow row;
        row.line = line_;
        for (;;) {
            row.values.push_back(value(separator, row.line));
            if (pos_ < text_.size() && text_[pos_] == separator) {
                ++pos_;
                continue;
            }
            line_end();
            return row;
        }
    }

  private:
    std::string value(char separator, size_t record_line) {
        size_t start = pos_;
        while (pos_ < text_.size() && text_[pos_] == ' ') ++pos_;
        if (pos_ < text_.size() && text_[pos_] == '"') {
            std::string v = quoted(record_line);
            while (pos_ < text_.size() && text_[pos_] == ' ') ++pos_;
            if (pos_ < text_.size() && text_[pos_] != separator && !is_line_end(text_[pos_]))
                throw CsvError(name_, record_line,
                               "hay texto después de las comillas que cierran un valor");
            return v;
        }
        pos_ = start;
        while (pos_ < text_.size() && text_[pos_] != separator && !is_line_end(text_[pos_])) ++pos_;
        return std::string(trim(text_.substr(start, pos_ - start)));
    }

    // A value between quotes, the position on its opening quote; a doubled quote is one quote.
    std::string quoted(size_t record_line) {
        std::string v;
        ++pos_;
        for (;;) {
            size_t close = text_.find('"', pos_);
            if (close == std::string_view::npos)
                throw CsvError(name_, record_line, "comillas sin cerrar");
            std::string_view piece = text_.substr(pos_, close - pos_);
            line_ += count_line_ends(piece);
            v += piece;
            pos_ = close + 1;
            if (pos_ < text_.size() && text_[pos_] == '"') {
                v += '"';
                ++pos_;
                continue;
            }
            return v;
        }
    }

    // Consumes the line end at the current position, if any: CR LF, LF or CR.
    void line_end() {
        if (pos_ >= text_.size()) return;
        if (text_[pos_] == '\r' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '\n') ++pos_;
        ++pos_;
        ++line_;
    }

    std::string_view text_;
    const std::string& name_;
    size_t pos_ = 0;
    size_t line_ = 1;
};
}  // namespace

CsvContent parse_csv(std::string_view bytes, const std::string& name) {
    CsvContent csv;
    csv.name = name;
    const std::string text = decode_whole(bytes);
    if (text.empty()) throw CsvError(fmt::format("El archivo {} está vacío.", name));
    Scanner scanner(text, name);
    if (!scanner.skip_blank_lines())
        throw CsvError(fmt::format("El archivo {} no tiene línea de encabezado.", name));
    csv.separator = scanner.separator_of_line();
    CsvRow header = scanner.record(csv.separator);
    csv.header_line = header.line;
    csv.header = std::move(header.values);
    while (scanner.skip_blank_lines()) {
        CsvRow row = scanner.record(csv.separator);
        if (row.values.size() != csv.header.size())
            throw CsvError(name, row.line,
                           fmt::format("tiene {} valores y el encabezado {}", row.values.size(),
                                       csv.header.size()));
        csv.rows.push_back(std::move(row));
    }
    return csv;
}

std::string read_file_bytes(const std::filesystem::path& path) {
    std::string bytes;
    struct Closer {
        void operator()(std::FILE* f) const { std::fclose(f); }
    };
    std::unique_ptr<std::FILE, Closer> file(std::fopen(path.c_str(), "rb"));
    int failure = file ? 0 : errno;
    if (file) {
        char buffer[1 << 16];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) bytes.append(buffer, n);
        if (std::ferror(file.get())) failure = errno ? errno : EIO;
    }
    if (failure)
        throw CsvError(fmt::format("No se pudo leer el archivo {}: {}.", path.string(),
                                   system_failure_text(failure)));
    return bytes;
}

CsvContent read_csv(const std::filesystem::path& path) {
    return parse_csv(read_file_bytes(path), path.filename().string());
}

}  // namespace corvela
