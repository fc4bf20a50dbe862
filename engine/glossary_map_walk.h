// One walk of the glossary chain over a text: the glossary, then the mapping over the text
// between its replacements, then (with a table) the code page step, in one pass.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "engine/bytes.h"
#include "engine/chinese_map.h"
#include "engine/fused_table.h"

namespace morvane {

class GlossaryIndex;

// A long key's replacement as the walk writes it while nothing waits in the decoder: with a
// table, the replacement put through it. ready is false where that takes more than eight bytes
// or leaves a byte waiting; the walk then takes the long way.
struct ReadyReplacement {
    std::uint64_t bytes = 0;
    std::uint32_t length = 0;
    bool ready = false;
    bool whole = false; // the key is whole characters as the walk steps: it ends where a step does
};
// One for each long key of index (see GlossaryIndex::MatchLong). Needs Prepare.
std::vector<ReadyReplacement> MakeReadyReplacements(const GlossaryIndex& index,
                                                    const FusedTable* table);

class GlossaryMapWalk {
  public:
    // direct (with a table): for each pair of the mapping's input, the table's packed entry
    // for the mapped pair, or the flag where the decoder does not take it whole; ready made
    // for the same index and table. The walk keeps references to all five.
    GlossaryMapWalk(const GlossaryIndex& index, const GbkMapTable& map, const FusedTable* table,
                    const std::vector<std::uint32_t>& direct,
                    const std::vector<ReadyReplacement>& ready)
        : index_(index), map_(map), table_(table), direct_(direct), ready_(ready) {}

    // Converts a prefix of text into output and returns its length, holding back what the
    // next piece may still change; with last, all of it, leaving nothing held.
    std::size_t Run(std::string_view text, bool last, Bytes& output);

  private:
    template <bool kTable> std::size_t Run(std::string_view text, bool last, Bytes& output);
    template <bool kTable>
    std::size_t RunInStep(std::string_view text, std::size_t i, std::size_t end, Bytes& output);
    // What the walk found looking ahead from start: the keys that start where it stands, in
    // order; end: where it stopped.
    static constexpr std::size_t kWindow = 256;
    // A key starting at offset from the window's start, length bytes long: a long key by
    // number, or kShortKey with its replacement (a key of one to three bytes may start there).
    static constexpr std::uint32_t kShortKey = 0xFFFFFFFE;
    struct WindowMatch {
        std::uint32_t offset;
        std::uint32_t key;
        std::uint32_t length;
        const char* replacement;
        std::size_t replacementSize;
    };
    struct Window {
        std::size_t start = 0;
        std::size_t end = 0; // at most kWindow + 1 after start
        std::size_t matches = 0;
        WindowMatch match[kWindow / 2 + 1];
    };
    Window Look(std::string_view text, std::size_t i, std::size_t end) const;
    template <bool kShortKeys>
    Window Look(std::string_view text, std::size_t i, std::size_t end) const;
    template <bool kTable>
    bool Replace(std::string_view text, std::size_t& i, const WindowMatch& match, bool& whole,
                 Bytes& output);
    template <bool kTable>
    std::size_t MapRun(std::string_view text, std::size_t i, std::size_t end);
    template <bool kTable> std::size_t Step(std::string_view text, std::size_t i, Bytes& output);
    template <bool kTable> void AfterPair(std::uint8_t byte);
    template <bool kTable> void Mapped(unsigned code);
    template <bool kTable> void Byte(std::uint8_t byte);
    template <bool kTable> void Replacement(std::string_view bytes, Bytes& output);
    void Flush(Bytes& output);

    static constexpr std::size_t kSlice = 16 * 1024;
    // Each byte read or replaced gives at most one packed entry of three bytes. A slice reads
    // at most kSlice + 4 bytes (a pair past its end, a waiting lead byte); PutPacked's spare byte.
    static constexpr std::size_t kSliceRoom = 3 * (kSlice + 4) + 8;
    const GlossaryIndex& index_;
    const GbkMapTable& map_;
    const FusedTable* table_;
    const std::vector<std::uint32_t>& direct_;
    const std::vector<ReadyReplacement>& ready_; // by long key number
    bool pending_ = false;
    std::uint8_t pendingLead_ = 0;
    TableQueue queue_; // bytes the decoder takes apart from the mapping's steps
    unsigned char* out_ = nullptr;
    // Room for a slice's own output beside a replacement slice's.
    unsigned char scratch_[2 * kSliceRoom];
};

} // namespace morvane
