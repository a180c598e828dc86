#include "rules/folded_index.h"

namespace corvela {

namespace {
constexpr char kSeparator = '\x1f';

inline char fold(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
}

// FNV-1a over the folded bytes, then a final mix, so that the low bits that choose a place
// depend on every byte.
struct Hasher {
    uint64_t h = 0xcbf29ce484222325u;
    void add(std::string_view s) {
        for (char c : s) add(c);
    }
    void add(char c) {
        h ^= static_cast<unsigned char>(fold(c));
        h *= 0x100000001b3u;
    }
    uint64_t done() const {
        uint64_t x = h;
        x ^= x >> 33;
        x *= 0xff51afd7ed558ccdu;
        x ^= x >> 33;
        return x;
    }
};

// True when `folded` opens with the folded bytes of `part`.
bool opens_with(std::string_view folded, std::string_view part) {
    for (size_t i = 0; i < part.size(); ++i)
        if (folded[i] != fold(part[i])) return false;
    return true;
}
}  // namespace

uint64_t folded_hash(const FoldedKey& key) {
    Hasher h;
    h.add(key.first);
    if (key.pair) {
        h.add(kSeparator);
        h.add(key.second);
    }
    return h.done();
}

bool folded_equal(std::string_view folded, const FoldedKey& key) {
    size_t size = key.first.size() + (key.pair ? 1 + key.second.size() : 0);
    if (folded.size() != size || !opens_with(folded, key.first)) return false;
    if (!key.pair) return true;
    folded.remove_prefix(key.first.size());
    return folded[0] == kSeparator && opens_with(folded.substr(1), key.second);
}

std::string folded_text(const FoldedKey& key) {
    std::string out;
    out.reserve(key.first.size() + (key.pair ? 1 + key.second.size() : 0));
    for (char c : key.first) out += fold(c);
    if (key.pair) {
        out += kSeparator;
        for (char c : key.second) out += fold(c);
    }
    return out;
}

}  // namespace corvela
