// Data files arrive in UTF-8 or in Windows-1252. A file is decoded as a whole: as UTF-8 when all
// of it is valid UTF-8 (a byte-order mark is skipped), else as Windows-1252, whose five undefined
// bytes and NUL decode to the code points of the same value. The outputs of a data file are
// written back in the encoding it was read in.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace corvela {

enum class Encoding { Utf8, Windows1252 };

// True when the bytes are well-formed UTF-8.
bool is_valid_utf8(std::string_view bytes);
// Decides a file's encoding by reading it once; `has_bom` tells whether it opens with a UTF-8 BOM.
Encoding detect_file_encoding(const std::filesystem::path& path, bool* has_bom);

// True when the start of a text is UTF-16, which Corvela does not read: a byte-order mark FF FE or
// FE FF, or a first line of at least 16 bytes whose first 16 alternate NUL with other bytes. A
// line that merely holds a NUL is no such line.
bool is_utf16_start(std::string_view start);
// The same for the first bytes of a file; false when the file cannot be read.
bool is_utf16_file(const std::filesystem::path& path);

std::string windows1252_to_utf8(std::string_view bytes);
// The same, appended to `out`.
void append_windows1252_as_utf8(std::string& out, std::string_view bytes);
// A whole text held in memory, decoded as a data file is: UTF-8 without its byte-order mark when
// all of it is valid UTF-8, else Windows-1252.
std::string decode_whole(std::string_view bytes);
// Code points without a Windows-1252 byte are written as '?'.
std::string utf8_to_windows1252(std::string_view utf8);
// The same, appended to `out`.
void append_utf8_as_windows1252(std::string& out, std::string_view utf8);

inline std::string decode(std::string_view bytes, Encoding e) {
    return e == Encoding::Utf8 ? std::string(bytes) : windows1252_to_utf8(bytes);
}
inline std::string encode(std::string_view utf8, Encoding e) {
    return e == Encoding::Utf8 ? std::string(utf8) : utf8_to_windows1252(utf8);
}

}  // namespace corvela
