#include "platform/sha256.h"

#include <openssl/evp.h>

#include <stdexcept>

namespace corvela {

std::string sha256_hex(std::string_view bytes) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int size = 0;
    if (!EVP_Digest(bytes.data(), bytes.size(), digest, &size, EVP_sha256(), nullptr))
        throw std::runtime_error("SHA-256 no disponible");
    static const char* const kHex = "0123456789abcdef";
    std::string hex;
    hex.reserve(static_cast<size_t>(size) * 2);
    for (unsigned int i = 0; i < size; ++i) {
        hex += kHex[digest[i] >> 4];
        hex += kHex[digest[i] & 0x0F];
    }
    return hex;
}

}  // namespace corvela
