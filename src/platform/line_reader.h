// Reads a text file line by line, holding one line at a time. A line ends at CR LF, at CR, or at
// LF alone; the terminator is not part of the line. Lines are handed over decoded to UTF-8.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/encoding.h"

namespace corvela {

class LineReader {
  public:
    // Decides the encoding of the file first (one extra pass), then opens it for reading.
    // Throws std::system_error when the file cannot be opened.
    explicit LineReader(const std::filesystem::path& path);
    ~LineReader();
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;

    // The next line, decoded; false at the end of the file (`line` is then empty).
    bool next(std::string& line);
    Encoding encoding() const { return encoding_; }

  private:
    bool fill();
    // Makes `line` of the bytes gathered; true.
    bool decoded(std::string& line);
    std::FILE* file_ = nullptr;
    Encoding encoding_ = Encoding::Utf8;
    std::vector<char> buf_;
    size_t pos_ = 0, end_ = 0;
    bool eof_ = false;
    std::string raw_;
};

}  // namespace corvela
