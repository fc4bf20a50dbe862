// Character-by-character Simplified/Traditional mapping over GBK, from a generated pair table.
#include "engine/chinese_map.h"

#include <array>
#include <span>

namespace morvane {
namespace {

struct GbkPair {
    GbkCode from;
    GbkCode to;
};

#include "engine/data/st_characters.inc"

// Every 16-bit value has a slot, so the walk needs no range check and no search.
using Lookup = GbkMapTable;

Lookup BuildLookup(std::span<const GbkPair> pairs) {
    Lookup lookup{};
    for (std::size_t code = 0; code < lookup.size(); ++code) {
        lookup[code] = static_cast<GbkCode>(code);
    }
    for (const GbkPair& pair : pairs) {
        lookup[pair.from] = pair.to;
    }
    return lookup;
}


void MapGbk(std::string_view source, Bytes& destination, const Lookup& lookup) {
    // Every character keeps its length, so the result is the source with pairs rewritten.
    destination.assign(source.data(), source.size());
    auto* bytes = reinterpret_cast<unsigned char*>(destination.data());
    const std::size_t size = destination.size();
    std::size_t i = 0;
    while (i < size) {
        const unsigned lead = bytes[i];
        // A lead byte takes whatever follows as its trail, as the code page does; an invalid
        // pair finds no entry and stays as it is.
        if (lead < 0x81 || lead == 0xFF || i + 1 == size) {
            ++i;
            continue;
        }
        const GbkCode mapped = lookup[lead * 256 + bytes[i + 1]];
        bytes[i] = static_cast<unsigned char>(mapped >> 8);
        bytes[i + 1] = static_cast<unsigned char>(mapped & 0xFF);
        i += 2;
    }
}

} // namespace

const GbkMapTable& TraditionalTable() {
    static const Lookup lookup = BuildLookup(kSimplifiedToTraditional);
    return lookup;
}

const GbkMapTable& SimplifiedTable() {
    static const Lookup lookup = BuildLookup(kTraditionalToSimplified);
    return lookup;
}

GbkCode TraditionalOf(GbkCode simplified) {
    return TraditionalTable()[simplified];
}

GbkCode SimplifiedOf(GbkCode traditional) {
    return SimplifiedTable()[traditional];
}

void MapToTraditional(std::string_view source, Bytes& destination) {
    MapGbk(source, destination, TraditionalTable());
}

void MapToSimplified(std::string_view source, Bytes& destination) {
    MapGbk(source, destination, SimplifiedTable());
}

} // namespace morvane
