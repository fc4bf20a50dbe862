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
#include "engine/glossary.h"

namespace morvane {
namespace {

// The mapping pairs a byte from 0x81 to 0xFE with whatever byte follows it.
bool IsMapLead(std::uint8_t byte) {
    return byte >= 0x81 && byte != 0xFF;
}

// The mapping walks the text in its own steps (a pair from each lead byte), and the decoder of
// the mapped text in its steps, which differ after a pair the decoder rejects: it takes one byte
// and starts again at the next. So mapped bytes go through a small queue to the decoder; while
// the queue is empty the two walks are in step, and one lookup gives the final bytes.
class MapThenTableStage : public CarryingStage {
  public:
    MapThenTableStage(const GbkMapTable& map, const FusedTable& table) : map_(map), table_(table) {
        direct_.resize(65536);
        for (std::size_t code = 0; code < 65536; ++code) {
            const GbkCode mapped = map_[code];
            const bool lead = (table_.single[mapped >> 8] & packed::kFlag) != 0;
            // A pair the decoder takes whole can go straight through; anything else is queued.
            direct_[code] = lead ? table_.pair[mapped] : packed::kFlag;
        }
    }

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
                    if (queued_ == 0 && (entry & packed::kFlag) == 0)
                        out = PutPacked(out, entry);
                    else
                        out = Queue(b, out);
                    ++i;
                    continue;
                }
                if (i + 1 == size) {
                    if (!last)
                        break;
                    out = Queue(b, out); // a lone lead byte at the end is kept as it is
                    ++i;
                    continue;
                }
                const unsigned code = b * 256u + in[i + 1];
                const std::uint32_t entry = direct_[code];
                if (queued_ == 0 && (entry & packed::kFlag) == 0) {
                    out = PutPacked(out, entry);
                } else {
                    out = Queue(static_cast<std::uint8_t>(map_[code] >> 8), out);
                    out = Queue(static_cast<std::uint8_t>(map_[code] & 0xFF), out);
                }
                i += 2;
            }
            output.append(reinterpret_cast<const char*>(scratch_),
                          static_cast<std::size_t>(out - scratch_));
            if (i < end)
                break;
        }
        if (last && queued_ != 0) { // a lead byte cut off at the end
            unsigned char* out = PutPacked(scratch_, table_.questionMark);
            output.append(reinterpret_cast<const char*>(scratch_),
                          static_cast<std::size_t>(out - scratch_));
            queued_ = 0;
        }
        return i;
    }

  private:
    // Hands one mapped byte to the decoder and writes what it can decode so far.
    unsigned char* Queue(std::uint8_t byte, unsigned char* out) {
        queue_[queued_++] = byte;
        while (queued_ != 0) {
            const std::uint32_t entry = table_.single[queue_[0]];
            std::size_t used = 1;
            if ((entry & packed::kFlag) == 0) {
                out = PutPacked(out, entry);
            } else if (queued_ < 2) {
                break; // the lead byte waits for the next one
            } else {
                const std::uint32_t both = table_.pair[queue_[0] * 256u + queue_[1]];
                out = PutPacked(out, both);
                used = (both & packed::kFlag) != 0 ? 1 : 2;
            }
            std::copy(queue_ + used, queue_ + queued_, queue_);
            queued_ -= used;
        }
        return out;
    }

    static constexpr std::size_t kSlice = 16 * 1024;
    const GbkMapTable& map_;
    const FusedTable& table_;
    std::vector<std::uint32_t> direct_;
    std::uint8_t queue_[4]{};
    std::size_t queued_ = 0;
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

// The glossary, then the mapping over the text between its replacements, then (with a table)
// the code page step over everything, in one pass. Keys are looked for where the glossary walk
// stands (a byte below 0x80 alone, any other with the next), one bit first ruling out most
// places. The mapping walks on its own: after a byte 0x80 or 0xFF it pairs bytes one place
// later than the glossary, so its lead byte then waits in pending_ until the glossary knows
// whether a replacement starts at the trail; if one does, the lead byte stays as it is.
class GlossaryMapStage : public CarryingStage {
  public:
    GlossaryMapStage(const CGlossary& glossary, std::uint32_t direction, const GbkMapTable& map,
                     const FusedTable* table)
        : glossary_(glossary), direction_(direction), map_(map), table_(table) {
        if (table_ == nullptr)
            return;
        direct_.resize(65536);
        for (std::size_t code = 0; code < 65536; ++code) {
            const GbkCode mapped = map_[code];
            const bool lead = (table_->single[mapped >> 8] & packed::kFlag) != 0;
            direct_[code] = lead ? table_->pair[mapped] : packed::kFlag;
        }
    }

  protected:
    std::size_t Convert(std::string_view text, bool last, Bytes& output) override {
        return table_ != nullptr ? Run<true>(text, last, output) : Run<false>(text, last, output);
    }

  private:
    template <bool kTable> std::size_t Run(std::string_view text, bool last, Bytes& output) {
        const GlossaryIndex& index = glossary_.PreparedIndex(direction_);
        const auto* in = reinterpret_cast<const std::uint8_t*>(text.data());
        const std::size_t size = text.size();
        // Before stop, a pair's trail is there and so is the text of any key starting there.
        const std::size_t reach = std::max<std::size_t>(index.LongestKey(), 2);
        const std::size_t stop = last ? (size == 0 ? 0 : size - 1)
                                      : (size >= reach ? size - reach + 1 : 0);
        out_ = scratch_;
        std::size_t i = 0;
        while (i < stop) {
            const std::size_t end = std::min(stop, i + kSlice);
            while (i < end) {
                const std::uint8_t b = in[i];
                if (b < 0x80) {
                    if (pending_) {
                        Mapped<kTable>(pendingLead_ * 256u + b);
                        pending_ = false;
                    } else {
                        Byte<kTable>(b);
                    }
                    ++i;
                    continue;
                }
                const unsigned code = b * 256u + in[i + 1];
                std::size_t length = 0;
                std::string_view replacement;
                if (index.MayStart(code) &&
                    index.FindReplacement(text.substr(i), length, replacement)) {
                    if (pending_) {
                        Byte<kTable>(pendingLead_);
                        pending_ = false;
                    }
                    Replacement<kTable>(replacement, output);
                    i += length;
                    continue;
                }
                if (pending_) {
                    Mapped<kTable>(pendingLead_ * 256u + b);
                    pending_ = false;
                    AfterPair<kTable>(in[i + 1]);
                } else if (IsMapLead(b)) {
                    Mapped<kTable>(code);
                } else {
                    Byte<kTable>(b);
                    AfterPair<kTable>(in[i + 1]);
                }
                i += 2;
            }
            Flush(output);
        }
        if (!last)
            return i;
        if (i < size) { // one byte left
            const std::uint8_t b = in[i];
            std::size_t length = 0;
            std::string_view replacement;
            if (b >= 0x80 && index.FindReplacement(text.substr(i), length, replacement)) {
                if (pending_)
                    Byte<kTable>(pendingLead_);
                Replacement<kTable>(replacement, output);
            } else if (pending_) {
                Mapped<kTable>(pendingLead_ * 256u + b);
            } else {
                Byte<kTable>(b); // a lone lead byte at the end is kept as it is
            }
            pending_ = false;
        }
        if (pending_) {
            Byte<kTable>(pendingLead_);
            pending_ = false;
        }
        if constexpr (kTable) {
            if (queued_ != 0) { // a lead byte cut off at the end
                out_ = PutPacked(out_, table_->questionMark);
                queued_ = 0;
            }
        }
        Flush(output);
        return size;
    }

    // The byte after a pair the glossary walk stepped over while the mapping took only its
    // first byte: the mapping takes it alone or as the lead of the next pair.
    template <bool kTable> void AfterPair(std::uint8_t byte) {
        if (IsMapLead(byte)) {
            pending_ = true;
            pendingLead_ = byte;
        } else {
            Byte<kTable>(byte);
        }
    }

    // A pair of the mapping's input, mapped and passed on.
    template <bool kTable> void Mapped(unsigned code) {
        if constexpr (kTable) {
            const std::uint32_t entry = direct_[code];
            if (queued_ == 0 && (entry & packed::kFlag) == 0) {
                out_ = PutPacked(out_, entry);
                return;
            }
            Queue(static_cast<std::uint8_t>(map_[code] >> 8));
            Queue(static_cast<std::uint8_t>(map_[code] & 0xFF));
        } else {
            const GbkCode mapped = map_[code];
            out_[0] = static_cast<unsigned char>(mapped >> 8);
            out_[1] = static_cast<unsigned char>(mapped & 0xFF);
            out_ += 2;
        }
    }

    // A byte the mapping leaves as it is, passed on.
    template <bool kTable> void Byte(std::uint8_t byte) {
        if constexpr (kTable) {
            const std::uint32_t entry = table_->single[byte];
            if (queued_ == 0 && (entry & packed::kFlag) == 0)
                out_ = PutPacked(out_, entry);
            else
                Queue(byte);
        } else {
            *out_++ = byte;
        }
    }

    // A replacement, untouched by the mapping; a long one goes out in slices.
    template <bool kTable> void Replacement(std::string_view bytes, Bytes& output) {
        while (true) {
            const std::string_view piece = bytes.substr(0, kSlice);
            if (static_cast<std::size_t>(scratch_ + sizeof scratch_ - out_) <
                3 * piece.size() + kSliceRoom)
                Flush(output);
            if constexpr (kTable) {
                for (const char c : piece)
                    Byte<kTable>(static_cast<std::uint8_t>(c));
            } else {
                std::memcpy(out_, piece.data(), piece.size());
                out_ += piece.size();
            }
            if (piece.size() == bytes.size())
                return;
            bytes.remove_prefix(piece.size());
        }
    }

    // Hands one byte to the decoder and writes what it can decode so far.
    void Queue(std::uint8_t byte) {
        queue_[queued_++] = byte;
        while (queued_ != 0) {
            const std::uint32_t entry = table_->single[queue_[0]];
            std::size_t used = 1;
            if ((entry & packed::kFlag) == 0) {
                out_ = PutPacked(out_, entry);
            } else if (queued_ < 2) {
                break; // the lead byte waits for the next one
            } else {
                const std::uint32_t both = table_->pair[queue_[0] * 256u + queue_[1]];
                out_ = PutPacked(out_, both);
                used = (both & packed::kFlag) != 0 ? 1 : 2;
            }
            std::copy(queue_ + used, queue_ + queued_, queue_);
            queued_ -= used;
        }
    }

    void Flush(Bytes& output) {
        output.append(reinterpret_cast<const char*>(scratch_),
                      static_cast<std::size_t>(out_ - scratch_));
        out_ = scratch_;
    }

    static constexpr std::size_t kSlice = 16 * 1024;
    // Each byte read or replaced gives at most one packed entry of three bytes. A slice reads
    // at most kSlice + 4 bytes (a pair past its end, a waiting lead byte); PutPacked's spare byte.
    static constexpr std::size_t kSliceRoom = 3 * (kSlice + 4) + 8;
    const CGlossary& glossary_;
    std::uint32_t direction_;
    const GbkMapTable& map_;
    const FusedTable* table_;
    std::vector<std::uint32_t> direct_;
    bool pending_ = false;
    std::uint8_t pendingLead_ = 0;
    std::uint8_t queue_[4]{};
    std::size_t queued_ = 0;
    unsigned char* out_ = nullptr;
    // Room for a slice's own output beside a replacement slice's.
    unsigned char scratch_[2 * kSliceRoom];
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

std::unique_ptr<Stage> MakeMapStage(const GbkMapTable& map) {
    return std::make_unique<MapStage>(map);
}

} // namespace morvane
