#include "platform/line_reader.h"

#include <cerrno>
#include <cstring>
#include <system_error>

namespace corvela {

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
    raw_.clear();
    bool any = false;
    for (;;) {
        if (pos_ == end_ && !fill()) break;
        any = true;
        const char* start = buf_.data() + pos_;
        const char* stop = buf_.data() + end_;
        const char* p = start;
        while (p < stop && *p != '\r' && *p != '\n') ++p;
        raw_.append(start, p);
        pos_ += static_cast<size_t>(p - start);
        if (p == stop) continue;
        char term = *p;
        ++pos_;
        if (term == '\r') {
            if (pos_ == end_) fill();
            if (pos_ < end_ && buf_[pos_] == '\n') ++pos_;
        }
        line = decode(raw_, encoding_);
        return true;
    }
    if (!any || raw_.empty()) return false;
    line = decode(raw_, encoding_);
    return true;
}

}  // namespace corvela
