#include "platform/output_file.h"

#include <cerrno>
#include <string>
#include <system_error>

namespace corvela {

OutputFile::OutputFile(const std::filesystem::path& path, Encoding encoding) : encoding_(encoding) {
    file_ = std::fopen(path.string().c_str(), "wb");
    if (!file_) throw std::system_error(errno, std::generic_category(), path.string());
    std::setvbuf(file_, nullptr, _IOFBF, 1 << 16);
}

OutputFile::~OutputFile() {
    if (file_) std::fclose(file_);
}

void OutputFile::write_line(std::string_view utf8) {
    bool ok;
    if (encoding_ == Encoding::Utf8) {
        ok = std::fwrite(utf8.data(), 1, utf8.size(), file_) == utf8.size();
    } else {
        std::string bytes = encode(utf8, encoding_);
        ok = std::fwrite(bytes.data(), 1, bytes.size(), file_) == bytes.size();
    }
    ok = ok && std::fwrite("\r\n", 1, 2, file_) == 2;
    if (!ok) throw std::system_error(errno ? errno : EIO, std::generic_category());
}

void OutputFile::close() {
    if (!file_) return;
    bool ok = std::fflush(file_) == 0;
    int err = errno;
    ok = std::fclose(file_) == 0 && ok;
    file_ = nullptr;
    if (!ok) throw std::system_error(err ? err : EIO, std::generic_category());
}

}  // namespace corvela
