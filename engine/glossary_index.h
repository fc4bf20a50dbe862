// An index of glossary keys: at any place in a text, the key of highest rank that starts there,
// in a few lookups into compact tables whatever the number of keys.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace morvane {

class GlossaryIndex {
  public:
    GlossaryIndex() = default;
    GlossaryIndex(const GlossaryIndex& other);
    GlossaryIndex& operator=(const GlossaryIndex& other);

    // Forgets every key.
    void Clear();
    // Adds a non-empty key with its rank and replacement; of equal keys the higher rank counts.
    void Add(std::string_view key, std::uint32_t rank, std::string_view replacement = {});
    // Builds the tables for the keys added so far; Find needs it. Any thread may call it.
    void Prepare() const;
    // The highest-ranked key that text starts with: its rank and length. False when none.
    bool Find(std::string_view text, std::uint32_t& rank, std::size_t& length) const;
    // The same key's length and the replacement added with it. Needs Prepare. Kept in this
    // header because the fused walk asks at nearly every character: where no key shorter than
    // four bytes can start, one filter bit rules out most places and the rest is one probe.
    bool FindReplacement(std::string_view text, std::size_t& length,
                         std::string_view& replacement) const {
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
        if (text.size() < 4 || MayStartShort(bytes))
            return FindAnyReplacement(bytes, text.size(), length, replacement);
        const PrefixSlot* entry = FindPrefix(Load4(bytes));
        if (entry == nullptr)
            return false;
        // Tails are in rank order and no shorter key competes: the first that fits wins.
        const std::uint8_t* after = bytes + 4;
        const std::size_t rest = text.size() - 4;
        std::uint64_t next = 0;
        std::memcpy(&next, after, rest < sizeof next ? rest : sizeof next);
        const Tail* tail = tables_.tails.data() + entry->firstTail;
        for (const Tail* end = tail + entry->count; tail != end; ++tail) {
            if (tail->length <= rest && TailMatches(*tail, after, next)) {
                length = 4 + tail->length;
                replacement = ReplacementOf(*tail);
                return true;
            }
        }
        return false;
    }
    // Where the glossary walk from position from first meets a key: it steps over a byte below
    // 0x80 alone and over any other byte with the next one, and looks for keys only at the
    // latter, only before position decidable. Without a match, position is where it stopped:
    // the end of text or a place at or after decidable. Needs Prepare.
    struct Match {
        std::size_t position = 0;
        bool found = false;
        std::uint32_t rank = 0;
        std::size_t length = 0;
    };
    Match Scan(std::string_view text, std::size_t from, std::size_t decidable) const;
    // The length of the longest key; 0 when there is none.
    std::size_t LongestKey() const { return longest_; }
    // True when some key holds two bytes below 0x80 in a row. Otherwise no key can match
    // across such two bytes, and the glossary walk always stands right after them.
    bool HoldsAsciiPair() const { return asciiPair_; }
    // False when no key can start at a two-byte character (lead * 256 + next), so a walk can
    // skip Find there. Needs Prepare.
    bool MayStart(unsigned character) const {
        return ((tables_.mayStart[character >> 6] >> (character & 63)) & 1) != 0;
    }

  private:
    static constexpr std::uint32_t kNone = 0xFFFFFFFF;

    // Keys of four bytes or more, by their first four bytes: where their tails (the bytes
    // after the four; empty for a four-byte key) are listed, highest rank first. Empty while
    // count is 0.
    struct PrefixSlot {
        std::uint32_t prefix = 0;
        std::uint32_t firstTail = 0;
        std::uint32_t count = 0;
    };
    // A tail of up to eight bytes is kept in place, a longer one in longTails by offset; the
    // key's replacement likewise, in place or in longReplacements, so that a match needs no
    // look elsewhere.
    struct Tail {
        std::uint64_t bytes;
        std::uint32_t rank;
        std::uint32_t length;
        std::uint64_t replacement;
        std::uint64_t replacementLength;
    };
    // The replacement of a key shorter than four bytes, by rank.
    struct ShortReplacement {
        std::uint32_t rank;
        std::uint32_t offset;
        std::uint32_t length;
    };
    // The best key found so far: its rank (kNone for none), length and tail if it has one.
    struct Best {
        std::uint32_t rank;
        std::size_t length;
        const Tail* tail;
    };

    struct Tables {
        std::array<std::uint32_t, 256> rankOfOne{}; // one-byte keys
        std::vector<std::uint64_t> mayStart;        // bit: some key starts with these two bytes
        std::vector<std::uint64_t> shortTwo;        // bit: a 2- or 3-byte key starts so
        std::vector<std::uint64_t> shortStart;      // bit: a 1-, 2- or 3-byte key starts so
        std::vector<std::uint32_t> rankOfTwo;       // two-byte keys, by both bytes
        std::vector<std::uint64_t> threes;          // three-byte keys: bytes << 32 | rank
        // Keys of four bytes or more: a bit per hash of the first four bytes, set for theirs,
        // ruling out most places before the probe into prefixes.
        std::vector<std::uint64_t> longFilter;
        unsigned longFilterShift = 32;
        std::vector<PrefixSlot> prefixes; // open addressing
        std::vector<Tail> tails;
        std::string longTails;
        std::string longReplacements;
        std::vector<ShortReplacement> shortReplacements; // by rank
    };

    void Build(Tables& tables) const;
    void ConsiderTails(const PrefixSlot& entry, const std::uint8_t* after, std::size_t rest,
                       Best& best) const;
    Best FindBest(const std::uint8_t* bytes, std::size_t size) const;
    bool FindAnyReplacement(const std::uint8_t* bytes, std::size_t size, std::size_t& length,
                            std::string_view& replacement) const;

    static std::uint32_t Load4(const std::uint8_t* bytes) {
        std::uint32_t value;
        std::memcpy(&value, bytes, sizeof value);
        return value;
    }
    // Mixes every input bit into every output bit (MurmurHash3's finalizer): the low bytes of
    // a prefix are a few lead bytes only, so a plain multiplication would cluster.
    static std::uint32_t Hash(std::uint32_t value) {
        value ^= value >> 16;
        value *= 0x85EBCA6Bu;
        value ^= value >> 13;
        value *= 0xC2B2AE35u;
        return value ^ (value >> 16);
    }
    // True when a key of one, two or three bytes may start at these (at least two) bytes.
    bool MayStartShort(const std::uint8_t* bytes) const {
        const unsigned two = bytes[0] * 256u + bytes[1];
        return ((tables_.shortStart[two >> 6] >> (two & 63)) & 1) != 0;
    }
    const PrefixSlot* FindPrefix(std::uint32_t prefix) const {
        const std::uint32_t hash = Hash(prefix);
        // Most places end here: no longer key starts with these four bytes.
        const std::uint32_t bit = hash >> tables_.longFilterShift;
        if (((tables_.longFilter[bit >> 6] >> (bit & 63)) & 1) == 0)
            return nullptr;
        const std::size_t mask = tables_.prefixes.size() - 1;
        for (std::size_t slot = hash & mask;; slot = (slot + 1) & mask) {
            const PrefixSlot& entry = tables_.prefixes[slot];
            if (entry.count == 0)
                return nullptr;
            if (entry.prefix == prefix)
                return &entry;
        }
    }
    // Whether a tail is the text after the prefix; next holds its first eight bytes (zero
    // after the text's end), and the tail is known to fit in the text.
    bool TailMatches(const Tail& tail, const std::uint8_t* after, std::uint64_t next) const {
        if (tail.length > sizeof next)
            return std::memcmp(after, tables_.longTails.data() + tail.bytes, tail.length) == 0;
        return tail.length == 0 || ((next ^ tail.bytes) << (64 - 8 * tail.length)) == 0;
    }
    std::string_view ReplacementOf(const Tail& tail) const {
        if (tail.replacementLength <= sizeof tail.replacement)
            return {reinterpret_cast<const char*>(&tail.replacement), tail.replacementLength};
        return std::string_view(tables_.longReplacements)
            .substr(tail.replacement, tail.replacementLength);
    }

    // The keys added, their bytes one after another in keyBytes_.
    struct Key {
        std::uint32_t offset;
        std::uint32_t length;
        std::uint32_t rank;
        std::uint32_t replacementOffset;
        std::uint32_t replacementLength;
    };
    std::vector<Key> keys_;
    std::string keyBytes_;
    std::string replacementBytes_;
    std::size_t longest_ = 0;
    bool asciiPair_ = false;

    mutable std::mutex mutex_;
    mutable std::atomic<bool> prepared_{false};
    mutable Tables tables_;
};

} // namespace morvane
