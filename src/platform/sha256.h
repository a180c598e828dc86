// The SHA-256 digest of a file's bytes, which identifies the file a reference table was loaded
// from (OpenSSL's libcrypto).
#pragma once

#include <string>
#include <string_view>

namespace corvela {

// The digest in lower-case hexadecimal, 64 digits.
std::string sha256_hex(std::string_view bytes);

}  // namespace corvela
