#include "platform/secrets.h"

#include <sodium.h>

#include <stdexcept>
#include <vector>

namespace corvela {

namespace {
// libsodium picks its fastest routines and seeds its generator once, before any use.
void ready() {
    static const bool initialised = sodium_init() >= 0;
    if (!initialised) throw std::runtime_error("libsodium no pudo iniciarse");
}
}  // namespace

std::string hash_password(std::string_view password) {
    ready();
    char hash[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str(hash, password.data(), password.size(),
                          crypto_pwhash_OPSLIMIT_INTERACTIVE,
                          crypto_pwhash_MEMLIMIT_INTERACTIVE) != 0)
        throw std::runtime_error("no hay memoria para calcular la clave");
    return hash;
}

bool password_matches(const std::string& hash, std::string_view password) {
    ready();
    // The stored text must be a hash of this kind, ended within its size.
    if (hash.size() >= crypto_pwhash_STRBYTES ||
        hash.rfind(crypto_pwhash_argon2id_STRPREFIX, 0) != 0)
        return false;
    return crypto_pwhash_str_verify(hash.c_str(), password.data(), password.size()) == 0;
}

std::string random_token(size_t bytes) {
    ready();
    std::vector<unsigned char> raw(bytes);
    randombytes_buf(raw.data(), raw.size());
    std::string hex(bytes * 2 + 1, '\0');
    sodium_bin2hex(hex.data(), hex.size(), raw.data(), raw.size());
    hex.pop_back();
    return hex;
}

bool same_token(std::string_view a, std::string_view b) {
    ready();
    return a.size() == b.size() && sodium_memcmp(a.data(), b.data(), a.size()) == 0;
}

}  // namespace corvela
