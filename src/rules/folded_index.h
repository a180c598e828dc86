// A map from text keys compared as the database compares text (ASCII letters without regard to
// case; other bytes, such as those of ñ and Ñ, as they are), held in one flat open-addressing
// table. A lookup folds and hashes the key as it reads it: no key text is built for it.
#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace corvela {

// A key of one part, or of two parts that compare as the first, a unit separator (0x1F) and
// the second joined into one text.
struct FoldedKey {
    FoldedKey(std::string_view only) : first(only) {}
    FoldedKey(std::string_view a, std::string_view b) : first(a), second(b), pair(true) {}

    std::string_view first, second;
    bool pair = false;
};

// The hash of a key's folded text.
uint64_t folded_hash(const FoldedKey& key);
// True when `folded`, a key's folded text, is the folded text of `key`.
bool folded_equal(std::string_view folded, const FoldedKey& key);
// A key's folded text, as it is kept.
std::string folded_text(const FoldedKey& key);

template <typename V>
class FoldedIndex {
  public:
    // The value of the key, or nullptr; it stays where it is while the index lives.
    const V* find(const FoldedKey& key) const {
        if (size_ == 0) return nullptr;
        const Slot& s = slots_[slot_of(key, folded_hash(key))];
        return s.entry ? &entry(s.entry).value : nullptr;
    }

    // Adds the value unless the key is there already: the first value of a key stays.
    void insert(const FoldedKey& key, V value) {
        if ((size_ + 1) * 2 > slots_.size()) grow();
        uint64_t hash = folded_hash(key);
        Slot& s = slots_[slot_of(key, hash)];
        if (s.entry) return;
        if (size_ >= UINT32_MAX - 1) throw std::length_error("FoldedIndex");
        if (size_ % kChunk == 0) chunks_.push_back(std::make_unique<Entry[]>(kChunk));
        ++size_;
        entry(static_cast<uint32_t>(size_)) = Entry{folded_text(key), std::move(value)};
        s = Slot{tag(hash), static_cast<uint32_t>(size_)};
    }

    size_t size() const { return size_; }

    // Forgets the entries added after the first `count`, as if they had never been added.
    void truncate(size_t count) {
        if (count >= size_) return;
        for (size_t n = count + 1; n <= size_; ++n) entry(static_cast<uint32_t>(n)) = Entry{};
        chunks_.resize((count + kChunk - 1) / kChunk);
        size_ = count;
        rehash(slots_.size());
    }

  private:
    struct Entry {
        std::string key;  // folded
        V value;
    };
    // Entries are kept in chunks of a fixed count, so that a growing index neither moves them
    // nor holds two copies of them for a while.
    static constexpr size_t kChunk = 1024;
    // A place of the table: the high half of the key's hash and the entry's number from 1; a
    // free place has entry 0.
    struct Slot {
        uint32_t hash = 0;
        uint32_t entry = 0;
    };

    static uint32_t tag(uint64_t hash) { return static_cast<uint32_t>(hash >> 32); }

    // Entry number n, from 1.
    Entry& entry(uint32_t n) const { return chunks_[(n - 1) / kChunk][(n - 1) % kChunk]; }

    // The place holding the key, or the free place where it would go (linear probing; the
    // table is never more than half full).
    size_t slot_of(const FoldedKey& key, uint64_t hash) const {
        size_t mask = slots_.size() - 1;
        for (size_t i = static_cast<size_t>(hash) & mask;; i = (i + 1) & mask) {
            const Slot& s = slots_[i];
            if (s.entry == 0) return i;
            if (s.hash == tag(hash) && folded_equal(entry(s.entry).key, key)) return i;
        }
    }

    void grow() { rehash(slots_.empty() ? 16 : slots_.size() * 2); }

    // Places every entry again in a table of `places` places.
    void rehash(size_t places) {
        std::vector<Slot> slots(places);
        size_t mask = slots.size() - 1;
        for (uint32_t n = 1; n <= size_; ++n) {
            uint64_t hash = folded_hash(FoldedKey(entry(n).key));
            size_t i = static_cast<size_t>(hash) & mask;
            while (slots[i].entry) i = (i + 1) & mask;
            slots[i] = Slot{tag(hash), n};
        }
        slots_ = std::move(slots);
    }

    std::vector<Slot> slots_;
    std::vector<std::unique_ptr<Entry[]>> chunks_;
    size_t size_ = 0;
};

}  // namespace corvela
