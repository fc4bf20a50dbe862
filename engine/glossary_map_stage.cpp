// The glossary chain as a streaming step, on two threads where no key can run across a cut.
#include <memory>
#include <utility>
#include <vector>

#include "engine/codepage.h"
#include "engine/codepage_stream.h"
#include "engine/fused_chain.h"
#include "engine/fused_table.h"
#include "engine/glossary.h"
#include "engine/glossary_map_walk.h"
#include "engine/two_thread_stage.h"

namespace morvane {
namespace {

class GlossaryMapStage : public CarryingStage {
  public:
    GlossaryMapStage(const CGlossary& glossary, std::uint32_t direction, const GbkMapTable& map,
                     const FusedTable* table)
        : walk_(glossary.PreparedIndex(direction), map, table,
                table != nullptr ? MappedPairEntries(map, *table) : kNoEntries) {}

  protected:
    std::size_t Convert(std::string_view text, bool last, Bytes& output) override {
        return walk_.Run(text, last, output);
    }

  private:
    static inline const std::vector<std::uint32_t> kNoEntries; // no table, nothing to look up
    GlossaryMapWalk walk_;
};

} // namespace

std::unique_ptr<Stage> MakeGlossaryMapStage(const CGlossary& glossary, std::uint32_t direction,
                                            const GbkMapTable& map, bool toBig5) {
    const FusedTable* table = toBig5 ? FusedTableFor(kCodePageGbk, kCodePageBig5) : nullptr;
    const bool fused = table != nullptr && !table->hasSwallow;
    const auto walk = [&, fused]() -> std::unique_ptr<Stage> {
        return std::make_unique<GlossaryMapStage>(glossary, direction, map,
                                                  fused ? table : nullptr);
    };
    // A key with two bytes below 0x80 in a row could run across a cut.
    const auto step = [&] {
        return glossary.PreparedIndex(direction).HoldsAsciiPair() ? walk()
                                                                   : MakeTwoThreadStage(walk);
    };
    if (!toBig5 || fused)
        return step();
    std::vector<std::unique_ptr<Stage>> steps;
    steps.push_back(step());
    steps.push_back(MakeCodePageStage(kCodePageGbk, kCodePageBig5));
    return std::make_unique<StageChain>(std::move(steps));
}

} // namespace morvane
