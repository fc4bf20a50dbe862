// Reading decode and encode tables off iconv, one probe per byte, pair and code point.
#include "engine/codepage_table.h"

#include <algorithm>
#include <cerrno>
#include <map>
#include <memory>
#include <mutex>
#include <optional>

#include "engine/codepage_iconv.h"

namespace morvane {
namespace {

// The code pages worth a table: the ones the window offers. Every other one stays on iconv.
constexpr int kTableCodePages[] = {874,  932,  936,  949,  950,  1250, 1251, 1252,
                                   1253, 1254, 1255, 1256, 1257, 1258, 1361};

constexpr std::size_t kFailed = static_cast<std::size_t>(-1);

// What iconv made of one short input from a fresh state.
struct Probe {
    bool failed = false;
    int error = 0;
    std::size_t consumed = 0;
    std::size_t produced = 0; // output bytes before the flush
    std::size_t flushed = 0;  // output bytes the flush added
    unsigned char output[32]{};
};

Probe Run(iconv_t cd, const void* input, std::size_t size) {
    Probe probe;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char* in = const_cast<char*>(static_cast<const char*>(input));
    std::size_t inLeft = size;
    char* out = reinterpret_cast<char*>(probe.output);
    std::size_t outLeft = sizeof probe.output;
    probe.failed = iconv(cd, &in, &inLeft, &out, &outLeft) == kFailed;
    probe.error = errno;
    probe.consumed = size - inLeft;
    probe.produced = sizeof probe.output - outLeft;
    iconv(cd, nullptr, nullptr, &out, &outLeft);
    probe.flushed = sizeof probe.output - outLeft - probe.produced;
    return probe;
}

// One character from the whole input, nothing held back for the flush.
std::optional<char32_t> WholeCharacter(const Probe& probe, std::size_t size) {
    if (probe.failed || probe.consumed != size || probe.produced != sizeof(wchar_t) ||
        probe.flushed != 0)
        return std::nullopt;
    wchar_t c;
    std::copy_n(probe.output, sizeof c, reinterpret_cast<unsigned char*>(&c));
    return static_cast<char32_t>(c);
}

bool RejectedAtOnce(const Probe& probe, int error) {
    return probe.failed && probe.error == error && probe.consumed == 0 && probe.produced == 0;
}

std::unique_ptr<DecodeTable> BuildDecodeTable(const char* iconvName) {
    IconvHandle handle("WCHAR_T", iconvName);
    if (!handle.ok())
        return nullptr;
    auto table = std::make_unique<DecodeTable>();
    bool hasLeads = false;
    for (unsigned b = 0; b < 256; ++b) {
        const unsigned char byte = static_cast<unsigned char>(b);
        const Probe probe = Run(handle.get(), &byte, 1);
        if (const auto c = WholeCharacter(probe, 1))
            table->single[b] = *c;
        else if (RejectedAtOnce(probe, EILSEQ))
            table->single[b] = DecodeTable::kInvalid;
        else if (RejectedAtOnce(probe, EINVAL))
            table->single[b] = DecodeTable::kLead, hasLeads = true;
        else
            return nullptr; // held back or composed: the decoder has state
    }
    if (!hasLeads)
        return table;
    table->pair.assign(65536, DecodeTable::kInvalid);
    for (unsigned lead = 0; lead < 256; ++lead) {
        if (table->single[lead] != DecodeTable::kLead)
            continue;
        for (unsigned next = 0; next < 256; ++next) {
            const unsigned char bytes[2] = {static_cast<unsigned char>(lead),
                                            static_cast<unsigned char>(next)};
            const Probe probe = Run(handle.get(), bytes, 2);
            if (const auto c = WholeCharacter(probe, 2))
                table->pair[lead * 256 + next] = *c;
            else if (probe.failed && probe.error == EILSEQ && probe.consumed == 2 &&
                     probe.produced == 0)
                table->pair[lead * 256 + next] = DecodeTable::kSwallow;
            else if (!RejectedAtOnce(probe, EILSEQ))
                return nullptr; // a longer sequence, or a lead byte taken alone
        }
    }
    return table;
}

std::optional<std::uint32_t> Pack(const Probe& probe) {
    if (probe.flushed != 0 || probe.produced > 3)
        return std::nullopt;
    std::uint32_t entry = static_cast<std::uint32_t>(probe.produced) << packed::kCountShift;
    for (std::size_t i = 0; i < probe.produced; ++i)
        entry |= static_cast<std::uint32_t>(probe.output[i]) << (8 * i);
    return entry;
}

std::unique_ptr<EncodeTable> BuildEncodeTable(const char* iconvName) {
    IconvHandle handle(iconvName, "WCHAR_T");
    if (!handle.ok())
        return nullptr;
    const wchar_t question = L'?';
    const auto replacement = Pack(Run(handle.get(), &question, sizeof question));
    if (!replacement)
        return nullptr;
    auto table = std::make_unique<EncodeTable>();
    table->bmp.resize(65536);
    for (unsigned code = 0; code < 65536; ++code) {
        const wchar_t c = static_cast<wchar_t>(code);
        const Probe probe = Run(handle.get(), &c, sizeof c);
        if (RejectedAtOnce(probe, EILSEQ)) {
            table->bmp[code] = *replacement;
            continue;
        }
        const auto entry = Pack(probe);
        if (probe.failed || probe.consumed != sizeof c || !entry)
            return nullptr; // state, or more bytes than a table entry holds
        table->bmp[code] = *entry;
    }
    return table;
}

// Builds each table once, on first use, whichever thread asks first.
template <typename Table>
const Table* Cached(int codePage, std::unique_ptr<Table> (*build)(const char*)) {
    static std::mutex mutex;
    static std::map<int, std::unique_ptr<Table>> tables;
    if (std::find(std::begin(kTableCodePages), std::end(kTableCodePages), codePage) ==
        std::end(kTableCodePages))
        return nullptr;
    const std::lock_guard lock(mutex);
    auto found = tables.find(codePage);
    if (found == tables.end())
        found = tables.emplace(codePage, build(FindCodePage(codePage)->iconvName)).first;
    return found->second.get();
}

} // namespace

const DecodeTable* DecodeTableFor(int codePage) {
    return Cached<DecodeTable>(codePage, BuildDecodeTable);
}

const EncodeTable* EncodeTableFor(int codePage) {
    return Cached<EncodeTable>(codePage, BuildEncodeTable);
}

} // namespace morvane
