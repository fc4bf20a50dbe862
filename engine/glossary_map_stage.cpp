// The glossary chain as a streaming step, on two threads where no key can run across a cut.
#include <memory>
#include <utility>
#include <vector>

#include "engine/codepage.h"
#include "engine/codepage_stream.h"
#include "engine/fused_chain.h"
#include "engine/fused_table.h"
#include "engine/glossary.h"
#include "engine/glossary_index.h"
#include "engine/glossary_map_walk.h"
#include "engine/two_thread_stage.h"

namespace morvane {
namespace {

class GlossaryMapStage : public CarryingStage {
  public:
    GlossaryMapStage(const GlossaryIndex& index, const GbkMapTable& map, const FusedTable* table,
                     std::shared_ptr<const std::vector<ReadyReplacement>> ready)
        : ready_(std::move(ready)),
          walk_(index, map, table, table != nullptr ? MappedPairEntries(map, *table) : kNoEntries,
                *ready_) {}

  protected:
    std::size_t Convert(std::string_view text, bool last, Bytes& output) override {
        return walk_.Run(text, last, output);
    }

  private:
    static inline const std::vector<std::uint32_t> kNoEntries;   // no table, nothing to look up
    std::shared_ptr<const std::vector<ReadyReplacement>> ready_; // shared by both threads' steps
    GlossaryMapWalk walk_;
};

} // namespace

std::unique_ptr<Stage> MakeGlossaryMapStage(const CGlossary& glossary, std::uint32_t direction,
                                            const GbkMapTable& map, bool toBig5) {
    const FusedTable* table = toBig5 ? FusedTableFor(kCodePageGbk, kCodePageBig5) : nullptr;
    const bool fused = table != nullptr && !table->hasSwallow;
    const GlossaryIndex& index = glossary.PreparedIndex(direction);
    const FusedTable* walkTable = fused ? table : nullptr;
    const auto ready = std::make_shared<const std::vector<ReadyReplacement>>(
        MakeReadyReplacements(index, walkTable));
    const auto walk = [&]() -> std::unique_ptr<Stage> {
        return std::make_unique<GlossaryMapStage>(index, map, walkTable, ready);
    };
    // A key with two bytes below 0x80 in a row could run across a cut.
    const auto step = [&] { return index.HoldsAsciiPair() ? walk() : MakeTwoThreadStage(walk); };
    if (!toBig5 || fused)
        return step();
    std::vector<std::unique_ptr<Stage>> steps;
    steps.push_back(step());
    steps.push_back(MakeCodePageStage(kCodePageGbk, kCodePageBig5));
    return std::make_unique<StageChain>(std::move(steps));
}

} // namespace morvane
