#include "platform/output_file.h"

#include <cerrno>
#include <system_error>

namespace corvela {

namespace {
constexpr size_t kBlock = 1 << 16;

[[noreturn]] void write_failed(int err) {
    throw std::system_error(err ? err : EIO, std::generic_category());
}
}  // namespace

OutputFile::OutputFile(const std::filesystem::path& path, Encoding encoding) : encoding_(encoding) {
    file_ = std::fopen(path.string().c_str(), "wb");
    if (!file_) throw std::system_error(errno, std::generic_category(), path.string());
    // The blocks are gathered here; the stream's own buffer would only copy them once more.
    std::setvbuf(file_, nullptr, _IONBF, 0);
    held_.reserve(kBlock + 512);
}

OutputFile::~OutputFile() {
    close_quietly();
}

OutputFile::OutputFile(OutputFile&& o) noexcept
    : file_(o.file_), encoding_(o.encoding_), held_(std::move(o.held_)) {
    o.file_ = nullptr;
}

OutputFile& OutputFile::operator=(OutputFile&& o) noexcept {
    if (this != &o) {
        close_quietly();
        file_ = o.file_;
        encoding_ = o.encoding_;
        held_ = std::move(o.held_);
        o.file_ = nullptr;
    }
    return *this;
}

void OutputFile::write_line(std::string_view utf8) {
    if (encoding_ == Encoding::Utf8)
        held_.append(utf8);
    else
        append_utf8_as_windows1252(held_, utf8);
    held_.append("\r\n");
    if (held_.size() > kBlock) write_blocks();
}

void OutputFile::write_blocks() {
    // Whole blocks only, and only once more than a block is held: every write but the last
    // starts and ends on a block boundary of the file, as a stream buffer of one block makes
    // them, so the line at which a disk that fills up fails depends on the block size alone.
    size_t n = held_.size() - held_.size() % kBlock;
    errno = 0;
    bool ok = std::fwrite(held_.data(), 1, n, file_) == n;
    held_.erase(0, ok ? n : held_.size());
    if (!ok) write_failed(errno);
}

void OutputFile::close() {
    if (!file_) return;
    int err = 0;
    errno = 0;
    bool ok = held_.empty() || std::fwrite(held_.data(), 1, held_.size(), file_) == held_.size();
    if (!ok) err = errno;
    held_.clear();
    ok = std::fclose(file_) == 0 && ok;
    if (!ok && !err) err = errno;
    file_ = nullptr;
    if (!ok) write_failed(err);
}

void OutputFile::close_quietly() {
    if (!file_) return;
    if (!held_.empty()) std::fwrite(held_.data(), 1, held_.size(), file_);
    held_.clear();
    std::fclose(file_);
    file_ = nullptr;
}

}  // namespace corvela
