// The glossary index: bit filters on the first two and four bytes rule out most places at once;
// the rest is one probe for the four-byte prefix and a short list of longer keys.
#include "engine/glossary_index.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <tuple>

namespace morvane {
namespace {

bool TestBit(const std::vector<std::uint64_t>& bits, std::uint32_t i) {
    return ((bits[i >> 6] >> (i & 63)) & 1) != 0;
}

void SetBit(std::vector<std::uint64_t>& bits, std::uint32_t i) {
    bits[i >> 6] |= 1ull << (i & 63);
}

// Mixes every input bit into every output bit (MurmurHash3's finalizer): the low bytes of a
// prefix are a few lead bytes only, so a plain multiplication would cluster.
std::uint32_t Hash(std::uint32_t value) {
    value ^= value >> 16;
    value *= 0x85EBCA6Bu;
    value ^= value >> 13;
    value *= 0xC2B2AE35u;
    return value ^ (value >> 16);
}

std::uint32_t Load(const std::uint8_t* bytes, std::size_t count) {
    std::uint32_t value = 0;
    std::memcpy(&value, bytes, count);
    return value;
}

// One of 128 bits for the two bytes after a key's first two (Fibonacci hashing).
unsigned NextTwoHash(unsigned nextTwo) {
    return (nextTwo * 0x9E3779B1u) >> 25;
}

void Consider(std::uint32_t candidate, std::size_t length, std::uint32_t& best,
              std::size_t& bestLength) {
    // kNone is the largest value, so "no key" must be ruled out before comparing.
    if (candidate != 0xFFFFFFFF && (best == 0xFFFFFFFF || candidate > best)) {
        best = candidate;
        bestLength = length;
    }
}

} // namespace

GlossaryIndex::GlossaryIndex(const GlossaryIndex& other)
    : keys_(other.keys_), keyBytes_(other.keyBytes_), longest_(other.longest_) {}

GlossaryIndex& GlossaryIndex::operator=(const GlossaryIndex& other) {
    if (this != &other) {
        keys_ = other.keys_;
        keyBytes_ = other.keyBytes_;
        longest_ = other.longest_;
        prepared_ = false;
    }
    return *this;
}

void GlossaryIndex::Clear() {
    keys_.clear();
    keyBytes_.clear();
    longest_ = 0;
    prepared_ = false;
}

void GlossaryIndex::Add(std::string_view key, std::uint32_t rank) {
    if (key.empty())
        return;
    keys_.push_back({static_cast<std::uint32_t>(keyBytes_.size()),
                     static_cast<std::uint32_t>(key.size()), rank});
    keyBytes_.append(key);
    longest_ = std::max(longest_, key.size());
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
    t.groupOfTwo.assign(65536, 0);
    t.nextTwoBits.assign(1, {0, 0});
    // Longer keys grouped by their first four bytes, rank order kept inside each group.
    std::vector<std::tuple<std::uint32_t, std::uint32_t, std::string_view>> longer;
    for (const Key& key : keys_) {
        const std::string_view keyBytes(keyBytes_.data() + key.offset, key.length);
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(keyBytes.data());
        const std::size_t size = keyBytes.size();
        if (size == 1) {
            std::uint32_t& rank = t.rankOfOne[bytes[0]];
            rank = rank == kNone ? key.rank : std::max(rank, key.rank);
            continue;
        }
        const std::uint32_t two = bytes[0] * 256u + bytes[1];
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
            longer.emplace_back(Load(bytes, 4), key.rank, keyBytes);
            std::uint16_t& group = t.groupOfTwo[two];
            if (group == 0) {
                // Past the last group number, groups share one that lets everything through.
                group =
                    static_cast<std::uint16_t>(std::min<std::size_t>(t.nextTwoBits.size(), 65535));
                if (group == t.nextTwoBits.size())
                    t.nextTwoBits.push_back({0, 0});
                if (group == 65535)
                    t.nextTwoBits[group] = {~0ull, ~0ull};
            }
            const unsigned bit = NextTwoHash(bytes[2] | bytes[3] << 8);
            t.nextTwoBits[group][bit >> 6] |= 1ull << (bit & 63);
        }
    }
    std::sort(t.threes.begin(), t.threes.end());
    std::stable_sort(longer.begin(), longer.end(),
                     [](const auto& a, const auto& b) { return std::get<0>(a) < std::get<0>(b); });

    std::size_t distinct = 0;
    for (std::size_t i = 0; i < longer.size(); ++i)
        distinct += i == 0 || std::get<0>(longer[i]) != std::get<0>(longer[i - 1]);
    const std::size_t slots = std::bit_ceil(std::max<std::size_t>(distinct * 3 / 2 + 1, 16));
    t.prefixes.assign(slots, PrefixSlot{});

    for (std::size_t i = 0; i < longer.size();) {
        const std::uint32_t prefix = std::get<0>(longer[i]);
        std::size_t slot = Hash(prefix) & (slots - 1);
        while (t.prefixes[slot].count != 0)
            slot = (slot + 1) & (slots - 1);
        PrefixSlot& entry = t.prefixes[slot];
        entry.prefix = prefix;
        entry.firstTail = static_cast<std::uint32_t>(t.tails.size());
        for (; i < longer.size() && std::get<0>(longer[i]) == prefix; ++i) {
            const auto& [unused, rank, key] = longer[i];
            const std::string_view tail = key.substr(4);
            Tail entryTail{0, rank, static_cast<std::uint32_t>(tail.size())};
            if (tail.size() <= sizeof entryTail.bytes) {
                std::memcpy(&entryTail.bytes, tail.data(), tail.size());
            } else {
                entryTail.bytes = t.longTails.size();
                t.longTails.append(tail);
            }
            t.tails.push_back(entryTail);
            ++entry.count;
        }
    }
}

const GlossaryIndex::PrefixSlot* GlossaryIndex::FindPrefix(std::uint32_t prefix) const {
    const std::size_t mask = tables_.prefixes.size() - 1;
    for (std::size_t slot = Hash(prefix) & mask;; slot = (slot + 1) & mask) {
        const PrefixSlot& entry = tables_.prefixes[slot];
        if (entry.count == 0)
            return nullptr;
        if (entry.prefix == prefix)
            return &entry;
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

bool GlossaryIndex::Find(std::string_view text, std::uint32_t& rank, std::size_t& length) const {
    if (text.empty() || keys_.empty())
        return false;
    const Tables& t = tables_;
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
    const std::size_t size = text.size();
    std::uint32_t best = kNone;
    std::size_t bestLength = 0;
    Consider(t.rankOfOne[bytes[0]], 1, best, bestLength);
    const std::uint32_t two = size >= 2 ? bytes[0] * 256u + bytes[1] : 0;
    if (size >= 2 && TestBit(t.shortTwo, two)) {
        if (!t.rankOfTwo.empty())
            Consider(t.rankOfTwo[two], 2, best, bestLength);
        if (size >= 3) {
            const std::uint64_t three = static_cast<std::uint64_t>(Load(bytes, 3)) << 32;
            for (auto it = std::lower_bound(t.threes.begin(), t.threes.end(), three);
                 it != t.threes.end() && (*it >> 32) == (three >> 32); ++it)
                Consider(static_cast<std::uint32_t>(*it), 3, best, bestLength);
        }
    }
    // Most places end here: no longer key starts with these two bytes and the next two.
    const std::uint16_t group = size >= 4 ? t.groupOfTwo[two] : 0;
    const unsigned bit = group != 0 ? NextTwoHash(bytes[2] | bytes[3] << 8) : 0;
    if (group != 0 && ((t.nextTwoBits[group][bit >> 6] >> (bit & 63)) & 1) != 0) {
        if (const PrefixSlot* entry = FindPrefix(Load(bytes, 4)))
            ConsiderTails(*entry, bytes + 4, size - 4, best, bestLength);
    }
    if (best == kNone)
        return false;
    rank = best;
    length = bestLength;
    return true;
}

void GlossaryIndex::ConsiderTails(const PrefixSlot& entry, const std::uint8_t* after,
                                  std::size_t rest, std::uint32_t& best,
                                  std::size_t& bestLength) const {
    // The text after the prefix, as far as an in-place tail reaches.
    std::uint64_t next = 0;
    std::memcpy(&next, after, std::min<std::size_t>(rest, sizeof next));
    const Tail* tail = tables_.tails.data() + entry.firstTail;
    for (std::uint32_t i = 0; i < entry.count; ++i, ++tail) {
        if (tail->length > rest)
            continue;
        const bool same =
            tail->length <= sizeof next
                ? tail->length == 0 || ((next ^ tail->bytes) << (64 - 8 * tail->length)) == 0
                : std::memcmp(after, tables_.longTails.data() + tail->bytes, tail->length) == 0;
        if (same)
            Consider(tail->rank, 4 + tail->length, best, bestLength);
    }
}

} // namespace morvane
