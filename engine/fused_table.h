// One lookup per character from one table code page straight into another, optionally mapped
// to Simplified on the way out, and the step that streams text through such a table.
#pragma once

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

#include "engine/chinese_map.h"
#include "engine/stage.h"

namespace morvane {

// Packed output bytes (see codepage_table.h) for each byte and for each lead byte + next byte.
struct FusedTable {
    // packed::kFlag in single: a lead byte, look up the pair.
    std::array<std::uint32_t, 256> single{};
    // packed::kFlag in pair: not a character; the entry is '?' and only the lead byte is used.
    // packed::kSwallow: the entry is '?' and the pair and the byte after it are used.
    std::vector<std::uint32_t> pair;
    bool hasSwallow = false;
    // The target's '?', for a lead byte cut off by the end of the text.
    std::uint32_t questionMark = 0;
    // Every byte below 0x80 comes out as it is, which allows copying such runs in bulk.
    bool asciiUnchanged = false;
};

// The table from one code page to another, with every GBK character of the result put through
// mapAfter when given; nullptr when either code page has no table, or when mapping the result
// character by character would not be the same as mapping the whole result.
const FusedTable* FusedTableFor(int fromCodePage, int toCodePage,
                                const GbkMapTable* mapAfter = nullptr);

// For each pair of the mapping's input (lead * 256 + next): the table's entry for the mapped
// pair where the decoder takes it whole, else packed::kFlag. Made once for each map and table.
const std::vector<std::uint32_t>& MappedPairEntries(const GbkMapTable& map,
                                                    const FusedTable& table);

// The streaming step over a fused table.
std::unique_ptr<Stage> MakeFusedTableStage(const FusedTable& table);

// Stores one packed entry's bytes at out and returns the position after them. Four bytes are
// written whatever the count, so out needs one byte of room beyond the result.
inline unsigned char* PutPacked(unsigned char* out, std::uint32_t entry) {
    static_assert(std::endian::native == std::endian::little, "packed bytes run from the low end");
    std::memcpy(out, &entry, sizeof entry);
    return out + ((entry >> 24) & 3);
}

// Bytes handed one at a time to a fused table's decoder by a step that does not know where the
// decoder's characters start: each call writes what can be decoded so far, and a lead byte
// waits for the byte after it.
class TableQueue {
  public:
    bool Empty() const { return queued_ == 0; }
    unsigned char* Push(const FusedTable& table, std::uint8_t byte, unsigned char* out);
    // The same for each byte of bytes; while nothing waits, whole pairs go straight through.
    unsigned char* PushAll(const FusedTable& table, std::string_view bytes, unsigned char* out);
    // The text ends: a lead byte still waiting becomes the target's '?'.
    unsigned char* Finish(const FusedTable& table, unsigned char* out);

  private:
    std::uint8_t queue_[4]{};
    std::size_t queued_ = 0;
};

} // namespace morvane
