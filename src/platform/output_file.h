// A text file written line by line, each line ended by CR LF, in the encoding of the data file
// it belongs to. A failed write (a full disk) raises std::system_error.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string_view>

#include "platform/encoding.h"

namespace corvela {

class OutputFile {
  public:
    OutputFile() = default;
    OutputFile(const std::filesystem::path& path, Encoding encoding);
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;
    OutputFile(OutputFile&& o) noexcept : file_(o.file_), encoding_(o.encoding_) {
        o.file_ = nullptr;
    }
    OutputFile& operator=(OutputFile&& o) noexcept {
        if (this != &o) {
            if (file_) std::fclose(file_);
            file_ = o.file_;
            encoding_ = o.encoding_;
            o.file_ = nullptr;
        }
        return *this;
    }

    void write_line(std::string_view utf8);
    void close();
    bool is_open() const { return file_ != nullptr; }

  private:
    std::FILE* file_ = nullptr;
    Encoding encoding_ = Encoding::Utf8;
};

}  // namespace corvela
