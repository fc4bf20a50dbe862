// The Chinese chains fused: one lookup per character where the mapping and the decoder agree on
// where characters start, and an exact step-by-step path where they do not.
#include "engine/fused_chain.h"

#include <algorithm>
#include <cstring>
#include <cstdint>
#include <vector>

#include "engine/codepage.h"
#include "engine/codepage_stream.h"
#include "engine/codepage_table.h"
#include "engine/fused_table.h"

namespace morvane {
namespace {

// The mapping walks the text in its own steps (a pair from each lead byte), and the decoder of
// the mapped text in its steps, which differ after a pair the decoder rejects: it takes one byte
// and starts again at the next. So mapped bytes go through a small queue to the decoder; while
// the queue is empty the two walks are in step, and one lookup gives the final bytes.
class MapThenTableStage : public CarryingStage {
  public:
    MapThenTableStage(const GbkMapTable& map, const FusedTable& table)
        : map_(map), table_(table), direct_(MappedPairEntries(map, table)) {}

  protected:
    std::size_t Convert(std::string_view text, bool last, Bytes& output) override {
        const auto* in = reinterpret_cast<const std::uint8_t*>(text.data());
        const std::size_t size = text.size();
        std::size_t i = 0;
        while (i < size) {
            const std::size_t end = std::min(size, i + kSlice);
            unsigned char* out = scratch_;
            while (i < end) {
                const std::uint8_t b = in[i];
                if (!IsMapLead(b)) {
                    const std::uint32_t entry = table_.single[b];
                    if (queue_.Empty() && (entry & packed::kFlag) == 0)
                        out = PutPacked(out, entry);
                    else
                        out = queue_.Push(table_, b, out);
                    ++i;
                    continue;
                }
                if (i + 1 == size) {
                    if (!last)
                        break;
                    out = queue_.Push(table_, b, out); // a lone lead byte at the end stays
                    ++i;
                    continue;
                }
                const unsigned code = b * 256u + in[i + 1];
                const std::uint32_t entry = direct_[code];
                if (queue_.Empty() && (entry & packed::kFlag) == 0) {
                    out = PutPacked(out, entry);
                } else {
                    out = queue_.Push(table_, static_cast<std::uint8_t>(map_[code] >> 8), out);
                    out = queue_.Push(table_, static_cast<std::uint8_t>(map_[code] & 0xFF), out);
                }
                i += 2;
            }
            output.append(reinterpret_cast<const char*>(scratch_),
                          static_cast<std::size_t>(out - scratch_));
            if (i < end)
                break;
        }
        if (last && !queue_.Empty()) { // a lead byte cut off at the end
            unsigned char* out = queue_.Finish(table_, scratch_);
            output.append(reinterpret_cast<const char*>(scratch_),
                          static_cast<std::size_t>(out - scratch_));
        }
        return i;
    }

  private:
    static constexpr std::size_t kSlice = 16 * 1024;
    const GbkMapTable& map_;
    const FusedTable& table_;
    const std::vector<std::uint32_t>& direct_; // a pair the decoder takes whole goes straight
    TableQueue queue_; // mapped bytes the decoder takes apart from the mapping's steps
    // Three bytes at most per byte read, a pair past the slice's end, and PutPacked's spare byte.
    unsigned char scratch_[3 * (kSlice + 4) + 8];
};

// The mapping alone, streaming: a lead byte at a piece's end waits for its pair.
class MapStage : public CarryingStage {
  public:
    explicit MapStage(const GbkMapTable& map) : map_(map) {}

  protected:
    std::size_t Convert(std::string_view text, bool last, Bytes& output) override {
        const std::size_t start = output.size();
        output.append(text);
        auto* bytes = reinterpret_cast<std::uint8_t*>(output.data()) + start;
        const std::size_t size = text.size();
        std::size_t i = 0;
        while (i < size) {
            if (!IsMapLead(bytes[i])) {
                ++i;
                continue;
            }
            if (i + 1 == size) {
                if (!last) {
                    output.resize(start + i);
                    return i;
                }
                ++i;
                continue;
            }
            const GbkCode mapped = map_[bytes[i] * 256u + bytes[i + 1]];
            bytes[i] = static_cast<std::uint8_t>(mapped >> 8);
            bytes[i + 1] = static_cast<std::uint8_t>(mapped & 0xFF);
            i += 2;
        }
        return size;
    }

  private:
    const GbkMapTable& map_;
};

} // namespace

std::unique_ptr<Stage> MakeGbToBig5Stage() {
    const FusedTable* table = FusedTableFor(kCodePageGbk, kCodePageBig5);
    if (table != nullptr && !table->hasSwallow)
        return std::make_unique<MapThenTableStage>(TraditionalTable(), *table);
    std::vector<std::unique_ptr<Stage>> steps;
    steps.push_back(MakeMapStage(TraditionalTable()));
    steps.push_back(MakeCodePageStage(kCodePageGbk, kCodePageBig5));
    return std::make_unique<StageChain>(std::move(steps));
}

std::unique_ptr<Stage> MakeBig5ToGbStage() {
    if (const FusedTable* table = FusedTableFor(kCodePageBig5, kCodePageGbk, &SimplifiedTable()))
        return MakeFusedTableStage(*table);
    std::vector<std::unique_ptr<Stage>> steps;
    steps.push_back(MakeCodePageStage(kCodePageBig5, kCodePageGbk));
    steps.push_back(MakeMapStage(SimplifiedTable()));
    return std::make_unique<StageChain>(std::move(steps));
}

std::unique_ptr<Stage> MakeMapStage(const GbkMapTable& map) {
    return std::make_unique<MapStage>(map);
}

} // namespace morvane
