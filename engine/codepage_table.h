// Lookup tables for the code pages the window offers, read off iconv itself at first use, so
// converting through them gives iconv's bytes with one lookup per character.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace morvane {

// How iconv decodes one code page without state: each byte alone, and each lead byte with
// whatever byte follows it.
struct DecodeTable {
    static constexpr char32_t kInvalid = 0xFFFFFFFF; // one '?', one byte skipped
    static constexpr char32_t kLead = 0xFFFFFFFE;    // in single only: look at the pair
    // In pair only: iconv rejects the pair after reading both bytes, so one '?' and the byte
    // after the pair is skipped as well (as CP949 does with A2 E8).
    static constexpr char32_t kSwallow = 0xFFFFFFFD;
    std::array<char32_t, 256> single{};
    std::vector<char32_t> pair; // lead * 256 + next byte; empty without lead bytes
};

// Encoded bytes packed in one word: up to three bytes from the low end, the count above
// them, and one flag bit whose meaning depends on the table.
namespace packed {
constexpr std::uint32_t kCountShift = 24;
constexpr std::uint32_t kFlag = 1u << 26;
constexpr std::uint32_t kSwallow = 1u << 27; // see DecodeTable::kSwallow
inline std::uint32_t Count(std::uint32_t entry) {
    return (entry >> kCountShift) & 3;
}
inline std::uint8_t Byte(std::uint32_t entry, unsigned i) {
    return (entry >> (8 * i)) & 0xFF;
}
} // namespace packed

// How iconv encodes every character of the Basic Multilingual Plane into one code page,
// '?' where it has none.
struct EncodeTable {
    std::vector<std::uint32_t> bmp; // packed bytes, by code point
};

// The tables of a code page, or nullptr when iconv's conversion of it holds state (it
// composes or decomposes marks) or the code page is not one of the offered ones.
const DecodeTable* DecodeTableFor(int codePage);
const EncodeTable* EncodeTableFor(int codePage);

} // namespace morvane
