// An index of glossary keys: at any place in a text, the key of highest rank that starts there,
// in a few lookups into compact tables whatever the number of keys.
#pragma once

#include <algorithm>
#include <array>
#include <atomic>
#include <bit>
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

    // True when some key has one to three bytes. Needs Prepare.
    bool HasShortKeys() const { return tables_.hasShort; }
    // The walk's quick path, at a two-byte character with at least two more bytes readable
    // after it. Needs Prepare. True when a key of one to three bytes may start there, and
    // FindReplacement decides:
    bool ShortMayStart(const std::uint8_t* bytes) const {
        return TestBit(tables_.shortTwo, bytes[0] * 256u + bytes[1]);
    }
    // Else the key there, if any, is the first of four bytes or more that the size bytes at
    // bytes start with. Its number runs below LongKeyCount(); kNoKey for none.
    static constexpr std::uint32_t kNoKey = 0xFFFFFFFF;
    struct LongMatch {
        std::uint32_t key = kNoKey;
        std::size_t length = 0;
    };
    LongMatch MatchLong(const std::uint8_t* bytes, std::size_t size) const {
        return MatchLong(bytes, size, PrefixHash(bytes));
    }
    // The same in steps, so that a walk can look ahead: the hash of the four bytes at bytes;
    // false when no key of four bytes or more starts with them (most places); the lookup,
    // brought into the cache early; MatchLong with the hash.
    static std::uint32_t PrefixHash(const std::uint8_t* bytes) {
        std::uint32_t four;
        std::memcpy(&four, bytes, sizeof four);
        return Hash(four);
    }
    bool MayHoldPrefix(std::uint32_t hash) const {
        return TestBit(tables_.longFilter, hash >> tables_.longFilterShift);
    }
    void Prefetch(std::uint32_t hash) const {
        __builtin_prefetch(&tables_.buckets[HomeBucket(hash, tables_)]);
    }
    // Decides most places with one cache line and no branch but the answer's: a mispredicted
    // branch costs more here than the load.
    [[gnu::always_inline]] LongMatch MatchLong(const std::uint8_t* bytes, std::size_t size,
                                               std::uint32_t hash) const {
        std::uint32_t four;
        std::memcpy(&four, bytes, sizeof four);
        std::uint16_t next = 0; // the two bytes after the prefix, or as many as there are
        if (size >= 6) [[likely]]
            std::memcpy(&next, bytes + 4, sizeof next);
        else if (size == 5)
            next = bytes[4];
        const std::size_t home = HomeBucket(hash, tables_);
        const PrefixSlot* entries = tables_.buckets[home].entries;
        // Bitwise throughout, so that the compiler makes no branch of it.
        const auto in = [four](const PrefixSlot& slot) {
            return static_cast<unsigned>(slot.prefix == four) &
                   static_cast<unsigned>(slot.first != kNone);
        };
        static_assert(Bucket::kSlots == 4);
        const unsigned found = in(entries[0]) | in(entries[1]) << 1 | in(entries[2]) << 2 |
                               in(entries[3]) << 3; // a bit for the slot holding the prefix
        const PrefixSlot& slot = entries[std::countr_zero(found | 8u)];
        const unsigned present = static_cast<unsigned>(found != 0);
        // No tail of two bytes or more starts with next: only the prefix itself can match.
        const unsigned decided = present & ~(slot.nextMask >> NextBit(next)) & 1;
        // Else another tail may match, or the prefix may lie in a later bucket.
        const unsigned further =
            (present & ~decided) |
            (~present & static_cast<unsigned>(TestBit(tables_.overflowed, home)));
        if ((further & 1) != 0) [[unlikely]]
            return MatchLongFurther(present != 0 ? &slot : nullptr, four, bytes, size);
        return {decided != 0 ? slot.whole : kNoKey, 4};
    }
    std::size_t LongKeyCount() const { return tables_.tails.size(); }
    std::string_view LongKey(std::uint32_t key) const;
    std::string_view LongKeyReplacement(std::uint32_t key) const;

  private:
    static constexpr std::uint32_t kNone = 0xFFFFFFFF;

    // Keys of four bytes or more are kept by their first four bytes (the prefix) and the bytes
    // after them (the tail), in sixteen bytes each so that the index stays in the processor's
    // cache: a tail of up to four bytes and a replacement of up to eight in place, longer ones
    // by number (in longTails, with their first four bytes in place; in keys_).
    struct Tail {
        static constexpr std::uint32_t kLengthMask = 7; // tail length, 0 to 4, or kLong
        static constexpr std::uint32_t kLong = 7;
        static constexpr std::uint32_t kLast = 1u << 3;       // the last tail of its prefix
        static constexpr unsigned kReplacementShift = 8;      // replacement length, 0 to 8,
        static constexpr std::uint32_t kLongReplacement = 15; // or this
        std::uint32_t bytes = 0;
        std::uint32_t info = 0;
        std::uint64_t replacement = 0;
    };
    // A prefix and where its tails start in tails, highest rank first (a tail outranked by a
    // shorter key that the prefix holds is left out); first is kNone in an empty slot. whole:
    // the tail number of the key that is the prefix alone, if any. nextMask: a bit (NextBit)
    // for the first two bytes of each tail of two bytes or more; all bits where some tail has
    // one byte only.
    struct PrefixSlot {
        std::uint32_t prefix = 0;
        std::uint32_t first = kNone;
        std::uint32_t nextMask = 0;
        std::uint32_t whole = kNone;
    };
    // Four slots, a cache line: a prefix lies in the bucket its hash picks (the high bits), or
    // when that is full, in the first free slot after it.
    struct alignas(64) Bucket {
        static constexpr unsigned kSlots = 4;
        PrefixSlot entries[kSlots];
    };
    static unsigned NextBit(std::uint16_t next) {
        return (static_cast<std::uint32_t>(next) * 0x9E3779B1u) >> 27;
    }
    struct LongTail {
        std::uint32_t offset; // in keyBytes_
        std::uint32_t length;
    };
    // The replacement of a key shorter than four bytes, by rank.
    struct ShortReplacement {
        std::uint32_t rank;
        std::uint32_t offset;
        std::uint32_t length;
    };
    // The best key found so far: its rank (kNone for none), length, and its number in tails
    // when it has four bytes or more (else kNone).
    struct Best {
        std::uint32_t rank;
        std::size_t length;
        std::uint32_t tail;
    };

    struct Tables {
        std::array<std::uint32_t, 256> rankOfOne{}; // one-byte keys
        std::vector<std::uint64_t> mayStart;        // bit: some key starts with these two bytes
        std::vector<std::uint64_t> shortTwo;        // bit: a key of 1 to 3 bytes starts so
        bool hasShort = false;                      // some key has 1 to 3 bytes
        std::vector<std::uint32_t> rankOfTwo;       // two-byte keys, by both bytes
        std::vector<std::uint64_t> threes;          // three-byte keys: bytes << 32 | rank
        // Keys of four bytes or more: a bit per hash of the first four bytes, set for theirs,
        // ruling out most places before the probe into prefixes.
        std::vector<std::uint64_t> longFilter;
        unsigned longFilterShift = 32;
        // The last bucket always holds a free slot, so that a search ends without wrapping.
        std::vector<Bucket> buckets;
        unsigned bucketShift = 32;
        std::vector<std::uint64_t> overflowed; // bit per bucket: one of its prefixes lies further
        std::vector<Tail> tails;
        std::vector<std::uint32_t> tailKeys; // the key of each tail, by number in keys_
        std::vector<LongTail> longTails;
        std::vector<std::uint32_t> longTailOf;           // by tail number, for those of kLong
        std::vector<ShortReplacement> shortReplacements; // by rank
    };

    void Build(Tables& tables) const;
    // The slot of the four bytes prefix; nullptr when no key of four bytes or more starts so.
    const PrefixSlot* FindPrefix(std::uint32_t prefix) const {
        const std::uint32_t hash = Hash(prefix);
        if (!MayHoldPrefix(hash)) // most places end here
            return nullptr;
        for (std::size_t bucket = HomeBucket(hash, tables_);; ++bucket) {
            for (const PrefixSlot& entry : tables_.buckets[bucket].entries) {
                if (entry.first == kNone)
                    return nullptr;
                if (entry.prefix == prefix)
                    return &entry;
            }
        }
    }
    LongMatch MatchLongFurther(const PrefixSlot* entry, std::uint32_t four,
                               const std::uint8_t* bytes, std::size_t size) const;
    // The key's length when tails[number] follows the prefix in the text, else 0.
    std::size_t TailMatches(std::uint32_t number, std::uint32_t next, const std::uint8_t* after,
                            std::size_t rest) const {
        const Tail& tail = tables_.tails[number];
        const std::uint32_t length = tail.info & Tail::kLengthMask;
        if (length != Tail::kLong) {
            const auto lowBytes = static_cast<std::uint32_t>((1ull << (8 * length)) - 1);
            return length <= rest && ((next ^ tail.bytes) & lowBytes) == 0 ? 4 + length : 0;
        }
        // A longer tail's first four bytes are in place too.
        if (rest < sizeof next || next != tail.bytes)
            return 0;
        return LongTailMatches(tables_.longTails[tables_.longTailOf[number]], after, rest);
    }
    std::size_t LongTailMatches(const LongTail& tail, const std::uint8_t* after,
                                std::size_t rest) const;
    // The first of the prefix's tails that the text after it starts with, by number in tails,
    // and its key's length; kNone when none does.
    std::uint32_t MatchTail(const PrefixSlot& entry, const std::uint8_t* after, std::size_t rest,
                            std::size_t& length) const {
        // The text after the prefix, as far as an in-place tail reaches.
        std::uint32_t next = 0;
        if (rest >= sizeof next) [[likely]]
            std::memcpy(&next, after, sizeof next);
        else
            std::memcpy(&next, after, rest);
        for (std::uint32_t i = entry.first;; ++i) {
            length = TailMatches(i, next, after, rest);
            if (length != 0)
                return i;
            if ((tables_.tails[i].info & Tail::kLast) != 0)
                return kNone;
        }
    }
    Best FindBest(const std::uint8_t* bytes, std::size_t size) const;
    static Best FindBestShort(const Tables& t, const std::uint8_t* bytes, std::size_t size);
    // The bucket a prefix's hash picks (its high bits).
    static std::size_t HomeBucket(std::uint32_t hash, const Tables& t) {
        return hash >> t.bucketShift;
    }
    // Mixes every input bit into every output bit (MurmurHash3's finalizer): the low bytes of a
    // prefix are a few lead bytes only, so a plain multiplication would cluster.
    static std::uint32_t Hash(std::uint32_t value) {
        value ^= value >> 16;
        value *= 0x85EBCA6Bu;
        value ^= value >> 13;
        value *= 0xC2B2AE35u;
        return value ^ (value >> 16);
    }
    static bool TestBit(const std::vector<std::uint64_t>& bits, std::uint32_t i) {
        return ((bits[i >> 6] >> (i & 63)) & 1) != 0;
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
