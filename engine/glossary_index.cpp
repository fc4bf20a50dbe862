// The glossary index: bit filters on the first two and four bytes rule out most places at once;
// the rest is one probe for the four-byte prefix, whose slot tells which longer keys can follow
// it, and where needed a short list of those keys.
#include "engine/glossary_index.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <tuple>

namespace morvane {
namespace {

void SetBit(std::vector<std::uint64_t>& bits, std::uint32_t i) {
    bits[i >> 6] |= 1ull << (i & 63);
}

std::uint32_t Load(const std::uint8_t* bytes, std::size_t count) {
    std::uint32_t value = 0;
    std::memcpy(&value, bytes, count);
    return value;
}

// True when candidate outranks best; kNone is the largest value, so "no key" is ruled out first.
bool Outranks(std::uint32_t candidate, std::uint32_t best) {
    return candidate != 0xFFFFFFFF && (best == 0xFFFFFFFF || candidate > best);
}

} // namespace

GlossaryIndex::GlossaryIndex(const GlossaryIndex& other)
    : keys_(other.keys_), keyBytes_(other.keyBytes_), replacementBytes_(other.replacementBytes_),
      longest_(other.longest_), asciiPair_(other.asciiPair_) {}

GlossaryIndex& GlossaryIndex::operator=(const GlossaryIndex& other) {
    if (this != &other) {
        keys_ = other.keys_;
        keyBytes_ = other.keyBytes_;
        replacementBytes_ = other.replacementBytes_;
        longest_ = other.longest_;
        asciiPair_ = other.asciiPair_;
        prepared_ = false;
    }
    return *this;
}

void GlossaryIndex::Clear() {
    keys_.clear();
    keyBytes_.clear();
    replacementBytes_.clear();
    longest_ = 0;
    asciiPair_ = false;
    prepared_ = false;
}

void GlossaryIndex::Add(std::string_view key, std::uint32_t rank, std::string_view replacement) {
    if (key.empty())
        return;
    keys_.push_back({static_cast<std::uint32_t>(keyBytes_.size()),
                     static_cast<std::uint32_t>(key.size()), rank,
                     static_cast<std::uint32_t>(replacementBytes_.size()),
                     static_cast<std::uint32_t>(replacement.size())});
    keyBytes_.append(key);
    replacementBytes_.append(replacement);
    longest_ = std::max(longest_, key.size());
    for (std::size_t i = 1; i < key.size() && !asciiPair_; ++i)
        asciiPair_ = static_cast<std::uint8_t>(key[i - 1]) < 0x80 &&
                     static_cast<std::uint8_t>(key[i]) < 0x80;
    prepared_ = false;
}

void GlossaryIndex::Prepare() const {
    if (prepared_.load(std::memory_order_acquire))
        return;
    const std::lock_guard lock(mutex_);
    if (prepared_.load(std::memory_order_relaxed))
        return;
    Tables tables;
    Build(tables);
    tables_ = std::move(tables);
    prepared_.store(true, std::memory_order_release);
}

void GlossaryIndex::Build(Tables& t) const {
    t.rankOfOne.fill(kNone);
    t.shortTwo.assign(1024, 0);
    t.mayStart.assign(1024, 0);
    // Longer keys grouped by their first four bytes, rank order kept inside each group.
    std::vector<std::tuple<std::uint32_t, std::uint32_t>> longer; // prefix, key number
    for (const Key& key : keys_) {
        const std::string_view keyBytes(keyBytes_.data() + key.offset, key.length);
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(keyBytes.data());
        const std::size_t size = keyBytes.size();
        t.hasShort = t.hasShort || size < 4;
        if (size < 4)
            t.shortReplacements.push_back({key.rank, key.replacementOffset, key.replacementLength});
        if (size == 1) {
            std::uint32_t& rank = t.rankOfOne[bytes[0]];
            rank = rank == kNone ? key.rank : std::max(rank, key.rank);
            for (std::uint32_t next = 0; next < 256; ++next) {
                SetBit(t.mayStart, bytes[0] * 256u + next);
                SetBit(t.shortTwo, bytes[0] * 256u + next);
            }
            continue;
        }
        const std::uint32_t two = bytes[0] * 256u + bytes[1];
        SetBit(t.mayStart, two);
        if (size == 2) {
            SetBit(t.shortTwo, two);
            if (t.rankOfTwo.empty())
                t.rankOfTwo.assign(65536, kNone);
            std::uint32_t& rank = t.rankOfTwo[two];
            rank = rank == kNone ? key.rank : std::max(rank, key.rank);
        } else if (size == 3) {
            SetBit(t.shortTwo, two);
            t.threes.push_back(static_cast<std::uint64_t>(Load(bytes, 3)) << 32 | key.rank);
        } else {
            longer.emplace_back(Load(bytes, 4), static_cast<std::uint32_t>(&key - keys_.data()));
        }
    }
    std::sort(t.threes.begin(), t.threes.end());
    std::sort(t.shortReplacements.begin(), t.shortReplacements.end(),
              [](const auto& a, const auto& b) { return a.rank < b.rank; });
    // Grouped by the first four bytes, highest rank first in each group, so that the first
    // tail that matches is the one to take.
    std::sort(longer.begin(), longer.end(), [this](const auto& a, const auto& b) {
        return std::get<0>(a) != std::get<0>(b)
                   ? std::get<0>(a) < std::get<0>(b)
                   : keys_[std::get<1>(a)].rank > keys_[std::get<1>(b)].rank;
    });

    // A key shorter than four bytes matches wherever a longer key whose first four bytes hold
    // it does, so such a longer key counts only where it outranks every such shorter one.
    std::erase_if(longer, [&](const auto& entry) {
        std::uint8_t prefix[4];
        std::memcpy(prefix, &std::get<0>(entry), sizeof prefix);
        return !Outranks(keys_[std::get<1>(entry)].rank, FindBestShort(t, prefix, 4).rank);
    });

    std::size_t distinct = 0;
    for (std::size_t i = 0; i < longer.size(); ++i)
        distinct += i == 0 || std::get<0>(longer[i]) != std::get<0>(longer[i - 1]);
    // Two prefixes a bucket on average: few buckets overflow.
    const std::size_t buckets = std::bit_ceil(std::max<std::size_t>(distinct / 2 + 1, 16));
    t.buckets.assign(buckets + 1, Bucket{});
    t.bucketShift = 32 - static_cast<unsigned>(std::countr_zero(buckets));
    t.overflowed.assign((buckets + 63) / 64, 0);
    // About one bit in sixteen set: few places get past the filter without a key.
    const std::size_t filterBits = std::bit_ceil(std::max<std::size_t>(distinct * 16, 1024));
    t.longFilter.assign(filterBits / 64, 0);
    t.longFilterShift = 32 - static_cast<unsigned>(std::countr_zero(filterBits));

    for (std::size_t i = 0; i < longer.size();) {
        const std::uint32_t prefix = std::get<0>(longer[i]);
        const std::uint32_t hash = Hash(prefix);
        SetBit(t.longFilter, hash >> t.longFilterShift);
        const std::size_t home = HomeBucket(hash, t);
        std::size_t slot = home * Bucket::kSlots;
        while (t.buckets[slot / Bucket::kSlots].entries[slot % Bucket::kSlots].first != kNone)
            ++slot;
        if (slot / Bucket::kSlots != home)
            SetBit(t.overflowed, static_cast<std::uint32_t>(home));
        if (slot + 1 == t.buckets.size() * Bucket::kSlots)
            t.buckets.emplace_back(); // a free slot always ends a search
        PrefixSlot& entry = t.buckets[slot / Bucket::kSlots].entries[slot % Bucket::kSlots];
        entry = {prefix, static_cast<std::uint32_t>(t.tails.size()), 0, kNone};
        for (; i < longer.size() && std::get<0>(longer[i]) == prefix; ++i) {
            const std::uint32_t number = std::get<1>(longer[i]);
            const Key& key = keys_[number];
            const std::string_view tail(keyBytes_.data() + key.offset + 4, key.length - 4);
            Tail tailEntry;
            if (tail.size() <= sizeof tailEntry.bytes) {
                std::memcpy(&tailEntry.bytes, tail.data(), tail.size());
                tailEntry.info = static_cast<std::uint32_t>(tail.size());
            } else {
                std::memcpy(&tailEntry.bytes, tail.data(), sizeof tailEntry.bytes);
                t.longTailOf.resize(t.tails.size() + 1);
                t.longTailOf.back() = static_cast<std::uint32_t>(t.longTails.size());
                t.longTails.push_back({key.offset + 4, static_cast<std::uint32_t>(tail.size())});
                tailEntry.info = Tail::kLong;
            }
            if (key.replacementLength <= sizeof tailEntry.replacement) {
                std::memcpy(&tailEntry.replacement,
                            replacementBytes_.data() + key.replacementOffset,
                            key.replacementLength);
                tailEntry.info |= key.replacementLength << Tail::kReplacementShift;
            } else {
                tailEntry.info |= Tail::kLongReplacement << Tail::kReplacementShift;
            }
            if (tail.empty() && entry.whole == kNone)
                entry.whole = static_cast<std::uint32_t>(t.tails.size());
            if (tail.size() == 1)
                entry.nextMask = ~0u;
            else if (!tail.empty())
                entry.nextMask |= 1u << NextBit(static_cast<std::uint16_t>(
                                      Load(reinterpret_cast<const std::uint8_t*>(tail.data()), 2)));
            t.tails.push_back(tailEntry);
            t.tailKeys.push_back(number);
        }
        t.tails.back().info |= Tail::kLast;
    }
}

GlossaryIndex::Match GlossaryIndex::Scan(std::string_view text, std::size_t from,
                                         std::size_t decidable) const {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
    const std::size_t size = text.size();
    std::size_t i = from;
    while (i < size) {
        if (bytes[i] < 0x80) {
            ++i;
            continue;
        }
        if (i >= decidable)
            break;
        Match match;
        if (Find(text.substr(i), match.rank, match.length)) {
            match.position = i;
            match.found = true;
            return match;
        }
        i += i + 1 < size ? 2 : 1;
    }
    Match none;
    none.position = i;
    return none;
}

GlossaryIndex::Best GlossaryIndex::FindBest(const std::uint8_t* bytes, std::size_t size) const {
    if (size == 0 || keys_.empty())
        return {kNone, 0, kNone};
    // A longer key left in the index outranks every shorter key it holds (see Build).
    if (size >= 4) {
        if (const PrefixSlot* entry = FindPrefix(Load(bytes, 4))) {
            Best best{0, 0, kNone}; // the rank is looked up by Find, which needs it
            best.tail = MatchTail(*entry, bytes + 4, size - 4, best.length);
            if (best.tail != kNone)
                return best;
        }
    }
    return FindBestShort(tables_, bytes, size);
}

// The best key of one to three bytes that the size (at least one) bytes start with.
GlossaryIndex::Best GlossaryIndex::FindBestShort(const Tables& t, const std::uint8_t* bytes,
                                                 std::size_t size) {
    Best best{t.rankOfOne[bytes[0]], 1, kNone};
    const std::uint32_t two = size >= 2 ? bytes[0] * 256u + bytes[1] : 0;
    if (size >= 2 && TestBit(t.shortTwo, two)) {
        if (!t.rankOfTwo.empty() && Outranks(t.rankOfTwo[two], best.rank))
            best = {t.rankOfTwo[two], 2, kNone};
        if (size >= 3) {
            const std::uint64_t three = static_cast<std::uint64_t>(Load(bytes, 3)) << 32;
            for (auto it = std::lower_bound(t.threes.begin(), t.threes.end(), three);
                 it != t.threes.end() && (*it >> 32) == (three >> 32); ++it)
                if (Outranks(static_cast<std::uint32_t>(*it), best.rank))
                    best = {static_cast<std::uint32_t>(*it), 3, kNone};
        }
    }
    return best;
}

bool GlossaryIndex::Find(std::string_view text, std::uint32_t& rank, std::size_t& length) const {
    const Best best = FindBest(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
    if (best.rank == kNone)
        return false;
    rank = best.tail != kNone ? keys_[tables_.tailKeys[best.tail]].rank : best.rank;
    length = best.length;
    return true;
}

std::string_view GlossaryIndex::LongKey(std::uint32_t key) const {
    const Key& entry = keys_[tables_.tailKeys[key]];
    return std::string_view(keyBytes_).substr(entry.offset, entry.length);
}

std::string_view GlossaryIndex::LongKeyReplacement(std::uint32_t key) const {
    const Tail& tail = tables_.tails[key];
    const std::uint32_t inPlace = (tail.info >> Tail::kReplacementShift) & 15;
    if (inPlace != Tail::kLongReplacement)
        return {reinterpret_cast<const char*>(&tail.replacement), inPlace};
    const Key& entry = keys_[tables_.tailKeys[key]];
    return std::string_view(replacementBytes_)
        .substr(entry.replacementOffset, entry.replacementLength);
}

bool GlossaryIndex::FindReplacement(std::string_view text, std::size_t& length,
                                    std::string_view& replacement) const {
    const Best best = FindBest(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
    if (best.rank == kNone)
        return false;
    length = best.length;
    if (best.tail != kNone) {
        replacement = LongKeyReplacement(best.tail);
        return true;
    }
    const auto& shorts = tables_.shortReplacements;
    const auto it = std::lower_bound(shorts.begin(), shorts.end(), best.rank,
                                     [](const auto& a, std::uint32_t r) { return a.rank < r; });
    replacement = std::string_view(replacementBytes_).substr(it->offset, it->length);
    return true;
}

// MatchLong's rarer cases: entry, when its bucket holds the prefix.
GlossaryIndex::LongMatch GlossaryIndex::MatchLongFurther(const PrefixSlot* entry,
                                                         std::uint32_t four,
                                                         const std::uint8_t* bytes,
                                                         std::size_t size) const {
    LongMatch match;
    if (entry == nullptr)
        entry = FindPrefix(four);
    if (entry != nullptr)
        match.key = MatchTail(*entry, bytes + 4, size - 4, match.length);
    return match;
}

std::size_t GlossaryIndex::LongTailMatches(const LongTail& tail, const std::uint8_t* after,
                                           std::size_t rest) const {
    return tail.length <= rest &&
                   std::memcmp(after, keyBytes_.data() + tail.offset, tail.length) == 0
               ? 4 + tail.length
               : 0;
}

} // namespace morvane
