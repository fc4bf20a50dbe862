// The glossary chain as a streaming step. A large piece is cut in two where the walk is
// known to stand with nothing held (after two bytes below 0x80, such as a line end), and the
// halves are walked on two threads: finding keys costs far more than the rest of the chain.
#include <algorithm>
#include <memory>
#include <thread>
#include <utility>
#include <vector>

#include "engine/codepage.h"
#include "engine/codepage_stream.h"
#include "engine/fused_chain.h"
#include "engine/codepage_table.h"
#include "engine/fused_table.h"
#include "engine/glossary.h"
#include "engine/glossary_map_walk.h"
#include "engine/side_thread.h"

namespace morvane {
namespace {

// Below this a piece is walked on one thread: a thread's start would cost more than it saves.
constexpr std::size_t kSplitMinimum = 128 * 1024;

// Where text can be cut with the walk's state clean: right after the first two bytes below
// 0x80 in a row from its middle on. 0 when there is no such place.
std::size_t FindCut(std::string_view text) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
    for (std::size_t i = std::max<std::size_t>(text.size() / 2, 2); i < text.size(); ++i) {
        if (bytes[i - 1] < 0x80 && bytes[i - 2] < 0x80)
            return i;
    }
    return 0;
}

class GlossaryMapStage : public CarryingStage {
  public:
    GlossaryMapStage(const CGlossary& glossary, std::uint32_t direction, const GbkMapTable& map,
                     const FusedTable* table)
        : index_(glossary.PreparedIndex(direction)) {
        if (table != nullptr) {
            direct_.resize(65536);
            for (std::size_t code = 0; code < 65536; ++code) {
                const GbkCode mapped = map[code];
                const bool lead = (table->single[mapped >> 8] & packed::kFlag) != 0;
                direct_[code] = lead ? table->pair[mapped] : packed::kFlag;
            }
        }
        walk_ = std::make_unique<GlossaryMapWalk>(index_, map, table, direct_);
        if (!index_.HoldsAsciiPair() && std::thread::hardware_concurrency() >= 2)
            spare_ = std::make_unique<GlossaryMapWalk>(index_, map, table, direct_);
    }

  protected:
    std::size_t Convert(std::string_view text, bool last, Bytes& output) override {
        const std::size_t cut =
            spare_ != nullptr && text.size() >= kSplitMinimum ? FindCut(text) : 0;
        if (cut == 0)
            return walk_->Run(text, last, output);
        // The spare walk starts clean at the cut and goes on to hold whatever the piece leaves.
        // Its buffer is kept from piece to piece, so its memory is not asked for every time.
        second_.clear();
        std::size_t used = 0;
        side_.Start([&] { used = spare_->Run(text.substr(cut), last, second_); });
        try {
            walk_->Run(text.substr(0, cut), true, output);
        } catch (...) {
            side_.Wait(); // the side thread still reads text
            throw;
        }
        side_.Wait();
        output += second_;
        std::swap(walk_, spare_);
        return cut + used;
    }

  private:
    const GlossaryIndex& index_;
    std::vector<std::uint32_t> direct_;
    std::unique_ptr<GlossaryMapWalk> walk_;
    std::unique_ptr<GlossaryMapWalk> spare_; // null where pieces are never cut
    Bytes second_;                           // the spare walk's output
    SideThread side_;                        // runs the spare walk
};

} // namespace

std::unique_ptr<Stage> MakeGlossaryMapStage(const CGlossary& glossary, std::uint32_t direction,
                                            const GbkMapTable& map, bool toBig5) {
    if (!toBig5)
        return std::make_unique<GlossaryMapStage>(glossary, direction, map, nullptr);
    const FusedTable* table = FusedTableFor(kCodePageGbk, kCodePageBig5);
    if (table != nullptr && !table->hasSwallow)
        return std::make_unique<GlossaryMapStage>(glossary, direction, map, table);
    std::vector<std::unique_ptr<Stage>> steps;
    steps.push_back(std::make_unique<GlossaryMapStage>(glossary, direction, map, nullptr));
    steps.push_back(MakeCodePageStage(kCodePageGbk, kCodePageBig5));
    return std::make_unique<StageChain>(std::move(steps));
}

} // namespace morvane
