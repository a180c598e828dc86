#include "platform/encoding.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <vector>

namespace corvela {

namespace {
// Code points of the bytes 0x80..0x9F in Windows-1252; the undefined ones keep their value.
constexpr std::array<char32_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void append_utf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Validates UTF-8 incrementally across buffer boundaries.
class Utf8Checker {
  public:
    bool feed(const unsigned char* p, size_t n) {
        for (size_t i = 0; i < n; ++i) {
            // Runs of ASCII, most of a data file, are passed over eight bytes at a time.
            if (need_ == 0) {
                for (uint64_t word; i + 8 <= n; i += 8) {
                    std::memcpy(&word, p + i, 8);
                    if (word & 0x8080808080808080u) break;
                }
                if (i == n) break;
            }
            unsigned char c = p[i];
            if (need_ == 0) {
                if (c < 0x80) continue;
                if (c >= 0xC2 && c <= 0xDF) {
                    need_ = 1;
                    lo_ = 0x80, hi_ = 0xBF;
                } else if (c >= 0xE0 && c <= 0xEF) {
                    need_ = 2;
                    lo_ = c == 0xE0 ? 0xA0 : 0x80;
                    hi_ = c == 0xED ? 0x9F : 0xBF;
                } else if (c >= 0xF0 && c <= 0xF4) {
                    need_ = 3;
                    lo_ = c == 0xF0 ? 0x90 : 0x80;
                    hi_ = c == 0xF4 ? 0x8F : 0xBF;
                } else {
                    return false;
                }
            } else {
                if (c < lo_ || c > hi_) return false;
                lo_ = 0x80, hi_ = 0xBF;
                --need_;
            }
        }
        return true;
    }
    bool complete() const { return need_ == 0; }

  private:
    int need_ = 0;
    unsigned char lo_ = 0x80, hi_ = 0xBF;
};
}  // namespace

bool is_valid_utf8(std::string_view bytes) {
    Utf8Checker c;
    return c.feed(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()) &&
           c.complete();
}

Encoding detect_file_encoding(const std::filesystem::path& path, bool* has_bom) {
    std::ifstream in(path, std::ios::binary);
    std::vector<char> buf(1 << 16);
    Utf8Checker checker;
    bool first = true;
    if (has_bom) *has_bom = false;
    while (in) {
        in.read(buf.data(), static_cast<std::streamsize>(buf.size()));
        auto n = static_cast<size_t>(in.gcount());
        if (n == 0) break;
        auto* p = reinterpret_cast<const unsigned char*>(buf.data());
        if (first && n >= 3 && p[0] == 0xEF && p[1] == 0xBB && p[2] == 0xBF && has_bom)
            *has_bom = true;
        first = false;
        if (!checker.feed(p, n)) return Encoding::Windows1252;
    }
    return checker.complete() ? Encoding::Utf8 : Encoding::Windows1252;
}

bool is_utf16_start(std::string_view start) {
    if (start.starts_with("\xFF\xFE") || start.starts_with("\xFE\xFF")) return true;
    constexpr size_t kChecked = 16;
    const std::string_view line = start.substr(0, start.find_first_of("\r\n"));
    if (line.size() < kChecked) return false;
    // NUL at every even place (big-endian) or every odd place (little-endian), and text at the
    // other places.
    for (size_t nul_at : {size_t{0}, size_t{1}}) {
        bool nuls = true, text = false;
        for (size_t i = 0; i < kChecked; ++i) {
            if (i % 2 == nul_at)
                nuls = nuls && line[i] == '\0';
            else
                text = text || line[i] != '\0';
        }
        if (nuls && text) return true;
    }
    return false;
}

bool is_utf16_file(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::string start(4096, '\0');
    in.read(start.data(), static_cast<std::streamsize>(start.size()));
    start.resize(static_cast<size_t>(in.gcount()));
    return is_utf16_start(start);
}

std::string decode_whole(std::string_view bytes) {
    if (!is_valid_utf8(bytes)) return windows1252_to_utf8(bytes);
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
    return std::string(bytes);
}

std::string windows1252_to_utf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 8);
    append_windows1252_as_utf8(out, bytes);
    return out;
}

void append_windows1252_as_utf8(std::string& out, std::string_view bytes) {
    for (char ch : bytes) {
        auto c = static_cast<unsigned char>(ch);
        if (c < 0x80)
            out += static_cast<char>(c);
        else if (c < 0xA0)
            append_utf8(out, kHigh[c - 0x80]);
        else
            append_utf8(out, c);
    }
}

std::string utf8_to_windows1252(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    append_utf8_as_windows1252(out, s);
    return out;
}

void append_utf8_as_windows1252(std::string& out, std::string_view s) {
    size_t i = 0;
    while (i < s.size()) {
        const char32_t c = static_cast<unsigned char>(s[i]);
        // The six payload bits of the continuation byte k places on.
        auto tail = [&](size_t k) { return static_cast<char32_t>(s[i + k]) & 0x3F; };
        char32_t cp;
        size_t len;
        if (c < 0x80) {
            cp = c, len = 1;
        } else if ((c & 0xE0) == 0xC0 && i + 1 < s.size()) {
            cp = ((c & 0x1F) << 6) | tail(1), len = 2;
        } else if ((c & 0xF0) == 0xE0 && i + 2 < s.size()) {
            cp = ((c & 0x0F) << 12) | (tail(1) << 6) | tail(2), len = 3;
        } else if ((c & 0xF8) == 0xF0 && i + 3 < s.size()) {
            cp = ((c & 0x07) << 18) | (tail(1) << 12) | (tail(2) << 6) | tail(3);
            len = 4;
        } else {
            out += '?';
            ++i;
            continue;
        }
        i += len;
        if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
            out += static_cast<char>(cp);
            continue;
        }
        char byte = '?';
        for (size_t k = 0; k < kHigh.size(); ++k)
            if (kHigh[k] == cp) byte = static_cast<char>(0x80 + k);
        out += byte;
    }
}

}  // namespace corvela
