// Secrets of the web service's accounts and sessions: password hashes (Argon2id, as libsodium
// writes them, salt and limits inside the text), random tokens, and a comparison of tokens whose
// time does not depend on where they differ.
#pragma once

#include <string>
#include <string_view>

namespace corvela {

// The hash text of a password, with a fresh salt and libsodium's interactive limits. Throws
// std::runtime_error when the machine lacks the memory the hash needs.
std::string hash_password(std::string_view password);
// True when `password` is the one `hash` was made from; false for any text that is no hash.
bool password_matches(const std::string& hash, std::string_view password);
// `bytes` random bytes from the system's secure source, written as lower-case hexadecimal.
std::string random_token(size_t bytes);
// True when both texts are equal, compared in a time that depends on their length alone.
bool same_token(std::string_view a, std::string_view b);

}  // namespace corvela
