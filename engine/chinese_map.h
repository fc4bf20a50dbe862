// Character-by-character Simplified/Traditional mapping inside GBK, on our own table.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "engine/bytes.h"

namespace morvane {

// A GBK double-byte character as one number: lead byte * 256 + trail byte.
using GbkCode = std::uint16_t;

// A mapping as a table over every 16-bit value; values that are no character map to themselves.
using GbkMapTable = std::array<GbkCode, 65536>;

// The mapping pairs a byte from 0x81 to 0xFE with whatever byte follows it.
inline bool IsMapLead(std::uint8_t byte) {
    return byte >= 0x81 && byte != 0xFF;
}

// The whole Simplified-to-Traditional mapping as a table.
const GbkMapTable& TraditionalTable();
// The whole Traditional-to-Simplified mapping as a table.
const GbkMapTable& SimplifiedTable();

// The Traditional form of a GBK character, or the character itself when it has none.
GbkCode TraditionalOf(GbkCode simplified);
// The Simplified form of a GBK character, or the character itself when it has none.
GbkCode SimplifiedOf(GbkCode traditional);

// Writes source into destination (replacing it) with every Simplified character mapped
// to its Traditional form. Bytes below 0x80 and a lone lead byte at the end are copied.
void MapToTraditional(std::string_view source, Bytes& destination);
// The same towards Simplified.
void MapToSimplified(std::string_view source, Bytes& destination);

} // namespace morvane
