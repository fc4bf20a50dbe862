// Fusing a decode table, an encode table and optionally the Simplified mapping into one table.
#include "engine/fused_table.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <tuple>
#include <utility>

#include "engine/codepage_table.h"

namespace morvane {
namespace {

bool IsGbkLead(std::uint8_t byte) {
    return byte >= 0x81 && byte != 0xFF;
}

// Maps the GBK character of one packed output. The mapping walks the whole output in pairs, so
// mapping each output alone is the same only when every output is a whole unit of that walk.
std::optional<std::uint32_t> MapPacked(std::uint32_t entry, const GbkMapTable& map) {
    const unsigned count = packed::Count(entry);
    const std::uint8_t first = packed::Byte(entry, 0);
    if (count == 0 || (count == 1 && !IsGbkLead(first)))
        return entry;
    if (count != 2 || !IsGbkLead(first))
        return std::nullopt;
    const GbkCode mapped = map[first * 256 + packed::Byte(entry, 1)];
    return (2u << packed::kCountShift) | (mapped >> 8) | ((mapped & 0xFFu) << 8);
}

// The packed bytes of a character; decoding a table code page never leaves the Basic
// Multilingual Plane, and a table that would is refused.
std::optional<std::uint32_t> EncodeOne(const EncodeTable& encode, char32_t c) {
    if (c > 0xFFFF)
        return std::nullopt;
    return encode.bmp[c];
}

std::unique_ptr<FusedTable> Build(const DecodeTable& decode, const EncodeTable& encode,
                                  const GbkMapTable* mapAfter) {
    auto table = std::make_unique<FusedTable>();
    auto finish = [&](std::optional<std::uint32_t> entry) -> std::optional<std::uint32_t> {
        if (!entry || mapAfter == nullptr)
            return entry;
        return MapPacked(*entry, *mapAfter);
    };
    const auto question = finish(EncodeOne(encode, U'?'));
    if (!question)
        return nullptr;
    table->questionMark = *question;
    table->asciiUnchanged = true;
    for (unsigned b = 0; b < 256; ++b) {
        const char32_t c = decode.single[b];
        if (c == DecodeTable::kLead) {
            table->single[b] = packed::kFlag;
            continue;
        }
        const auto entry = c == DecodeTable::kInvalid ? question : finish(EncodeOne(encode, c));
        if (!entry)
            return nullptr;
        table->single[b] = *entry;
        if (b < 0x80 && *entry != ((1u << packed::kCountShift) | b))
            table->asciiUnchanged = false;
    }
    if (decode.pair.empty())
        return table;
    table->pair.resize(65536);
    for (std::size_t code = 0; code < 65536; ++code) {
        const char32_t c = decode.pair[code];
        if (c == DecodeTable::kInvalid) {
            table->pair[code] = *question | packed::kFlag;
            continue;
        }
        if (c == DecodeTable::kSwallow) {
            table->pair[code] = *question | packed::kSwallow;
            table->hasSwallow = true;
            continue;
        }
        const auto entry = finish(EncodeOne(encode, c));
        if (!entry)
            return nullptr;
        table->pair[code] = *entry;
    }
    return table;
}

// Streams through a fused table; the carry is at most one lead byte.
class FusedTableStage : public CarryingStage {
  public:
    explicit FusedTableStage(const FusedTable& table) : table_(table) {}

  protected:
    std::size_t Convert(std::string_view text, bool last, Bytes& output) override {
        const auto* in = reinterpret_cast<const std::uint8_t*>(text.data());
        const std::size_t size = text.size();
        std::size_t i = 0;
        while (i < size) {
            const std::size_t end = std::min(size, i + kSlice);
            unsigned char* out = scratch_;
            i = ConvertSlice(in, i, end, size, out);
            bool cut = i < end; // stopped at a lead byte or a swallowing pair that ends the text
            if (cut && last) {
                out = PutPacked(out, (table_.single[in[i]] & packed::kFlag) != 0 && i + 1 == size
                                         ? table_.questionMark
                                         : table_.pair[in[i] * 256u + in[i + 1]]);
                i = size;
                cut = false;
            }
            output.append(reinterpret_cast<const char*>(scratch_),
                          static_cast<std::size_t>(out - scratch_));
            if (cut)
                break;
        }
        return i;
    }

  private:
    // Converts from i until end (a pair may reach two bytes past it, never past size), stopping
    // early at a lead byte that is the text's last byte or a swallowing pair that ends it.
    std::size_t ConvertSlice(const std::uint8_t* in, std::size_t i, std::size_t end,
                             std::size_t size, unsigned char*& out) const {
        const std::uint32_t* single = table_.single.data();
        const std::uint32_t* pair = table_.pair.data();
        const bool bulkAscii = table_.asciiUnchanged;
        while (i < end) {
            const std::uint8_t b = in[i];
            const std::uint32_t entry = single[b];
            if ((entry & packed::kFlag) != 0) { // a lead byte
                if (i + 1 == size)
                    return i;
                const std::uint32_t both = pair[b * 256u + in[i + 1]];
                // The common case keeps the step a constant, so the loop never waits on a load.
                if ((both & (packed::kFlag | packed::kSwallow)) == 0) {
                    out = PutPacked(out, both);
                    i += 2;
                    continue;
                }
                if ((both & packed::kSwallow) != 0 && i + 2 >= size)
                    return i; // whether a byte follows decides what is skipped
                out = PutPacked(out, both);
                i += (both & packed::kFlag) != 0 ? 1 : 3;
                continue;
            }
            if (bulkAscii && b < 0x80 && i + 8 <= end) {
                std::uint64_t word;
                std::memcpy(&word, in + i, sizeof word);
                if ((word & 0x8080808080808080ull) == 0) {
                    std::memcpy(out, &word, sizeof word);
                    out += 8;
                    i += 8;
                    continue;
                }
            }
            out = PutPacked(out, entry);
            ++i;
        }
        return i;
    }

    static constexpr std::size_t kSlice = 16 * 1024;
    const FusedTable& table_;
    // Three bytes at most per byte read, a pair past the slice's end, and PutPacked's spare byte.
    unsigned char scratch_[3 * (kSlice + 2) + 8];
};

} // namespace

const FusedTable* FusedTableFor(int fromCodePage, int toCodePage, const GbkMapTable* mapAfter) {
    static std::mutex mutex;
    static std::map<std::tuple<int, int, const GbkMapTable*>, std::unique_ptr<FusedTable>> tables;
    const DecodeTable* decode = DecodeTableFor(fromCodePage);
    const EncodeTable* encode = EncodeTableFor(toCodePage);
    if (decode == nullptr || encode == nullptr)
        return nullptr;
    const std::lock_guard lock(mutex);
    const auto key = std::make_tuple(fromCodePage, toCodePage, mapAfter);
    auto found = tables.find(key);
    if (found == tables.end())
        found = tables.emplace(key, Build(*decode, *encode, mapAfter)).first;
    return found->second.get();
}

unsigned char* TableQueue::Push(const FusedTable& table, std::uint8_t byte, unsigned char* out) {
    queue_[queued_++] = byte;
    while (queued_ != 0) {
        const std::uint32_t entry = table.single[queue_[0]];
        std::size_t used = 1;
        if ((entry & packed::kFlag) == 0) {
            out = PutPacked(out, entry);
        } else if (queued_ < 2) {
            break; // the lead byte waits for the next one
        } else {
            const std::uint32_t both = table.pair[queue_[0] * 256u + queue_[1]];
            out = PutPacked(out, both);
            used = (both & packed::kFlag) != 0 ? 1 : 2;
        }
        std::copy(queue_ + used, queue_ + queued_, queue_);
        queued_ -= used;
    }
    return out;
}

unsigned char* TableQueue::PushAll(const FusedTable& table, std::string_view bytes,
                                   unsigned char* out) {
    const auto* in = reinterpret_cast<const std::uint8_t*>(bytes.data());
    std::size_t k = 0;
    while (k < bytes.size() && queued_ == 0) {
        const std::uint32_t entry = table.single[in[k]];
        if ((entry & packed::kFlag) == 0) {
            out = PutPacked(out, entry);
            ++k;
            continue;
        }
        if (k + 1 == bytes.size())
            break;
        const std::uint32_t both = table.pair[in[k] * 256u + in[k + 1]];
        if ((both & packed::kFlag) != 0)
            break; // the queue puts '?' for the lead byte and looks at the next one again
        out = PutPacked(out, both);
        k += 2;
    }
    for (; k < bytes.size(); ++k)
        out = Push(table, in[k], out);
    return out;
}

unsigned char* TableQueue::Finish(const FusedTable& table, unsigned char* out) {
    if (queued_ != 0)
        out = PutPacked(out, table.questionMark);
    queued_ = 0;
    return out;
}

const std::vector<std::uint32_t>& MappedPairEntries(const GbkMapTable& map,
                                                    const FusedTable& table) {
    static std::mutex mutex;
    static std::map<std::pair<const GbkMapTable*, const FusedTable*>, std::vector<std::uint32_t>>
        entries;
    const std::lock_guard lock(mutex);
    std::vector<std::uint32_t>& direct = entries[{&map, &table}];
    if (direct.empty()) {
        direct.resize(65536);
        for (std::size_t code = 0; code < 65536; ++code) {
            const GbkCode mapped = map[code];
            const bool lead = (table.single[mapped >> 8] & packed::kFlag) != 0;
            direct[code] = lead ? table.pair[mapped] : packed::kFlag;
        }
    }
    return direct;
}

std::unique_ptr<Stage> MakeFusedTableStage(const FusedTable& table) {
    return std::make_unique<FusedTableStage>(table);
}

} // namespace morvane
