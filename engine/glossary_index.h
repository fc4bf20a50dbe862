// An index of glossary keys: at any place in a text, the key of highest rank that starts there,
// in a few lookups into compact tables whatever the number of keys.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
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
    // The same key's length and the replacement added with it. Needs Prepare.
    bool FindReplacement(std::string_view text, std::size_t& length,
                         std::string_view& replacement) const;
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
    const PrefixSlot* FindPrefix(std::uint32_t prefix) const;
    void ConsiderTails(const PrefixSlot& entry, const std::uint8_t* after, std::size_t rest,
                       Best& best) const;
    Best FindBest(const std::uint8_t* bytes, std::size_t size) const;
    static std::uint32_t Hash(std::uint32_t value);

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
