// A text file written line by line, each line ended by CR LF, in the encoding of the data file
// it belongs to. Lines gather in one buffer, already encoded, that goes to the file in blocks of
// 64 KiB. A failed write (a full disk) raises std::system_error.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/encoding.h"

namespace corvela {

class OutputFile {
  public:
    OutputFile() = default;
    OutputFile(const std::filesystem::path& path, Encoding encoding);
    // Writes what is still held, without a word on failure: close() is the checked end.
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;
    OutputFile(OutputFile&& o) noexcept;
    OutputFile& operator=(OutputFile&& o) noexcept;

    void write_line(std::string_view utf8);
    void close();
    bool is_open() const { return file_ != nullptr; }

  private:
    void write_blocks();
    void close_quietly();

    std::FILE* file_ = nullptr;
    Encoding encoding_ = Encoding::Utf8;
    std::string held_;  // encoded lines not yet written
};

}  // namespace corvela
