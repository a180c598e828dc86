#include "platform/line_reader.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <system_error>

namespace corvela {

namespace {
// The first CR or LF of [p, stop), or stop. Eight bytes at a time are tested for either.
const char* line_end(const char* p, const char* stop) {
    constexpr uint64_t ones = 0x0101010101010101u, highs = 0x8080808080808080u;
    for (; stop - p >= 8; p += 8) {
        uint64_t w;
        std::memcpy(&w, p, 8);
        uint64_t cr = w ^ (ones * '\r'), lf = w ^ (ones * '\n');
        if ((((cr - ones) & ~cr) | ((lf - ones) & ~lf)) & highs) break;
    }
    while (p < stop && *p != '\r' && *p != '\n') ++p;
    return p;
}
}  // namespace

LineReader::LineReader(const std::filesystem::path& path) : buf_(1 << 16) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec))
        throw std::system_error(EISDIR, std::generic_category(), path.string());
    bool bom = false;
    file_ = std::fopen(path.string().c_str(), "rb");
    if (!file_) throw std::system_error(errno, std::generic_category(), path.string());
    encoding_ = detect_file_encoding(path, &bom);
    if (bom) std::fseek(file_, 3, SEEK_SET);
}

LineReader::~LineReader() {
    if (file_) std::fclose(file_);
}

bool LineReader::fill() {
    if (eof_) return false;
    end_ = std::fread(buf_.data(), 1, buf_.size(), file_);
    pos_ = 0;
    if (end_ == 0) {
        if (std::ferror(file_))
            throw std::system_error(errno ? errno : EIO, std::generic_category());
        eof_ = true;
        return false;
    }
    return true;
}

bool LineReader::next(std::string& line) {
    // A UTF-8 file's bytes are the line itself; a Windows-1252 line is gathered, then decoded.
    std::string& bytes = encoding_ == Encoding::Utf8 ? line : raw_;
    bytes.clear();
    bool any = false;
    for (;;) {
        if (pos_ == end_ && !fill()) break;
        any = true;
        const char* start = buf_.data() + pos_;
        const char* stop = buf_.data() + end_;
        const char* p = line_end(start, stop);
        bytes.append(start, p);
        pos_ += static_cast<size_t>(p - start);
        if (p == stop) continue;
        char term = *p;
        ++pos_;
        if (term == '\r') {
            if (pos_ == end_) fill();
            if (pos_ < end_ && buf_[pos_] == '\n') ++pos_;
        }
        return decoded(line);
    }
    if (any && !bytes.empty()) return decoded(line);
    line.clear();
    return false;
}

bool LineReader::decoded(std::string& line) {
    if (encoding_ != Encoding::Utf8) {
        line.clear();
        append_windows1252_as_utf8(line, raw_);
    }
    return true;
}

}  // namespace corvela
