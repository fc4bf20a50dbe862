// The glossary index: bit filters on the first two and four bytes rule out most places at once;
// the rest is one probe for the four-byte prefix and a short list of longer keys, each with its
// replacement beside it.
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

// Mixes every input bit into every output bit (MurmurHash3's finalizer): the low bytes of a
// prefix are a few lead bytes only, so a plain multiplication would cluster.
std::uint32_t GlossaryIndex::Hash(std::uint32_t value) {
    value ^= value >> 16;
    value *= 0x85EBCA6Bu;
    value ^= value >> 13;
    value *= 0xC2B2AE35u;
    return value ^ (value >> 16);
}

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
    std::vector<std::tuple<std::uint32_t, const Key*>> longer;
    for (const Key& key : keys_) {
        const std::string_view keyBytes(keyBytes_.data() + key.offset, key.length);
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(keyBytes.data());
        const std::size_t size = keyBytes.size();
        if (size < 4)
            t.shortReplacements.push_back({key.rank, key.replacementOffset, key.replacementLength});
        if (size == 1) {
            std::uint32_t& rank = t.rankOfOne[bytes[0]];
            rank = rank == kNone ? key.rank : std::max(rank, key.rank);
            for (std::uint32_t next = 0; next < 256; ++next)
                SetBit(t.mayStart, bytes[0] * 256u + next);
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
            longer.emplace_back(Load(bytes, 4), &key);
        }
    }
    std::sort(t.threes.begin(), t.threes.end());
    std::sort(t.shortReplacements.begin(), t.shortReplacements.end(),
              [](const auto& a, const auto& b) { return a.rank < b.rank; });
    // Grouped by the first four bytes, highest rank first in each group, so that the first
    // tail that matches is the one to take.
    std::sort(longer.begin(), longer.end(), [](const auto& a, const auto& b) {
        return std::get<0>(a) != std::get<0>(b) ? std::get<0>(a) < std::get<0>(b)
                                                : std::get<1>(a)->rank > std::get<1>(b)->rank;
    });

    std::size_t distinct = 0;
    for (std::size_t i = 0; i < longer.size(); ++i)
        distinct += i == 0 || std::get<0>(longer[i]) != std::get<0>(longer[i - 1]);
    const std::size_t slots = std::bit_ceil(std::max<std::size_t>(distinct * 3 / 2 + 1, 16));
    t.prefixes.assign(slots, PrefixSlot{});
    // About one bit in sixteen set: few places get past the filter without a key.
    const std::size_t filterBits = std::bit_ceil(std::max<std::size_t>(distinct * 16, 1024));
    t.longFilter.assign(filterBits / 64, 0);
    t.longFilterShift = 32 - static_cast<unsigned>(std::countr_zero(filterBits));

    for (std::size_t i = 0; i < longer.size();) {
        const std::uint32_t prefix = std::get<0>(longer[i]);
        const std::uint32_t hash = Hash(prefix);
        SetBit(t.longFilter, hash >> t.longFilterShift);
        std::size_t slot = hash & (slots - 1);
        while (t.prefixes[slot].count != 0)
            slot = (slot + 1) & (slots - 1);
        PrefixSlot& group = t.prefixes[slot];
        group.prefix = prefix;
        group.firstTail = static_cast<std::uint32_t>(t.tails.size());
        for (; i < longer.size() && std::get<0>(longer[i]) == prefix; ++i) {
            const Key& key = *std::get<1>(longer[i]);
            const std::string_view tail(keyBytes_.data() + key.offset + 4, key.length - 4);
            const std::string_view replacement(replacementBytes_.data() + key.replacementOffset,
                                               key.replacementLength);
            Tail entryTail{0, key.rank, static_cast<std::uint32_t>(tail.size()), 0,
                           replacement.size()};
            if (tail.size() <= sizeof entryTail.bytes) {
                std::memcpy(&entryTail.bytes, tail.data(), tail.size());
            } else {
                entryTail.bytes = t.longTails.size();
                t.longTails.append(tail);
            }
            if (replacement.size() <= sizeof entryTail.replacement) {
                std::memcpy(&entryTail.replacement, replacement.data(), replacement.size());
            } else {
                entryTail.replacement = t.longReplacements.size();
                t.longReplacements.append(replacement);
            }
            t.tails.push_back(entryTail);
            ++group.count;
        }
    }
}

const GlossaryIndex::PrefixSlot* GlossaryIndex::FindPrefix(std::uint32_t prefix) const {
    const std::uint32_t hash = Hash(prefix);
    // Most places end here: no longer key starts with these four bytes.
    if (!TestBit(tables_.longFilter, hash >> tables_.longFilterShift))
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
    const Tables& t = tables_;
    Best best{kNone, 0, nullptr};
    if (size == 0 || keys_.empty())
        return best;
    if (Outranks(t.rankOfOne[bytes[0]], best.rank))
        best = {t.rankOfOne[bytes[0]], 1, nullptr};
    const std::uint32_t two = size >= 2 ? bytes[0] * 256u + bytes[1] : 0;
    if (size >= 2 && TestBit(t.shortTwo, two)) {
        if (!t.rankOfTwo.empty() && Outranks(t.rankOfTwo[two], best.rank))
            best = {t.rankOfTwo[two], 2, nullptr};
        if (size >= 3) {
            const std::uint64_t three = static_cast<std::uint64_t>(Load(bytes, 3)) << 32;
            for (auto it = std::lower_bound(t.threes.begin(), t.threes.end(), three);
                 it != t.threes.end() && (*it >> 32) == (three >> 32); ++it)
                if (Outranks(static_cast<std::uint32_t>(*it), best.rank))
                    best = {static_cast<std::uint32_t>(*it), 3, nullptr};
        }
    }
    if (size >= 4) {
        if (const PrefixSlot* entry = FindPrefix(Load(bytes, 4)))
            ConsiderTails(*entry, bytes + 4, size - 4, best);
    }
    return best;
}

bool GlossaryIndex::Find(std::string_view text, std::uint32_t& rank, std::size_t& length) const {
    const Best best = FindBest(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
    if (best.rank == kNone)
        return false;
    rank = best.rank;
    length = best.length;
    return true;
}

bool GlossaryIndex::FindReplacement(std::string_view text, std::size_t& length,
                                    std::string_view& replacement) const {
    const Best best = FindBest(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
    if (best.rank == kNone)
        return false;
    length = best.length;
    if (const Tail* tail = best.tail) {
        replacement = tail->replacementLength <= sizeof tail->replacement
                          ? std::string_view(reinterpret_cast<const char*>(&tail->replacement),
                                             tail->replacementLength)
                          : std::string_view(tables_.longReplacements)
                                .substr(tail->replacement, tail->replacementLength);
        return true;
    }
    const auto& shorts = tables_.shortReplacements;
    const auto it = std::lower_bound(shorts.begin(), shorts.end(), best.rank,
                                     [](const auto& a, std::uint32_t r) { return a.rank < r; });
    replacement = std::string_view(replacementBytes_).substr(it->offset, it->length);
    return true;
}

void GlossaryIndex::ConsiderTails(const PrefixSlot& entry, const std::uint8_t* after,
                                  std::size_t rest, Best& best) const {
    // The text after the prefix, as far as an in-place tail reaches.
    std::uint64_t next = 0;
    std::memcpy(&next, after, std::min<std::size_t>(rest, sizeof next));
    const Tail* tail = tables_.tails.data() + entry.firstTail;
    for (std::uint32_t i = 0; i < entry.count; ++i, ++tail) {
        if (!Outranks(tail->rank, best.rank))
            return; // the rest rank lower still
        if (tail->length > rest)
            continue;
        const bool same =
            tail->length <= sizeof next
                ? tail->length == 0 || ((next ^ tail->bytes) << (64 - 8 * tail->length)) == 0
                : std::memcmp(after, tables_.longTails.data() + tail->bytes, tail->length) == 0;
        if (same) {
            best = {tail->rank, 4 + tail->length, tail};
            return;
        }
    }
}

} // namespace morvane
