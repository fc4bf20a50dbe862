// The glossary walk: keys are looked for where the glossary walk stands (a byte below 0x80
// alone, any other with the next), a window of places at a time, one bit first ruling out most
// of them. The mapping walks on its own: after a byte 0x80 or 0xFF it pairs bytes one place
// later than the glossary, so its lead byte then waits in pending_ until the glossary knows
// whether a replacement starts at the trail; if one does, the lead byte stays as it is. Such
// places, and bytes the decoder holds back, are walked one place at a time (Step).
#include "engine/glossary_map_walk.h"

#include <algorithm>
#include <cstring>

#include "engine/codepage_table.h"
#include "engine/fused_table.h"
#include "engine/glossary_index.h"

namespace morvane {

namespace {

// True when the walk's steps over bytes (a byte below 0x80 alone, any other with the next)
// end at their end.
bool EndsOnStep(std::string_view bytes) {
    std::size_t p = 0;
    while (p < bytes.size())
        p += static_cast<std::uint8_t>(bytes[p]) < 0x80 ? 1 : 2;
    return p == bytes.size();
}

} // namespace

std::vector<ReadyReplacement> MakeReadyReplacements(const GlossaryIndex& index,
                                                    const FusedTable* table) {
    std::vector<ReadyReplacement> ready(index.LongKeyCount());
    for (std::uint32_t key = 0; key < ready.size(); ++key) {
        ready[key].whole = EndsOnStep(index.LongKey(key));
        const std::string_view replacement = index.LongKeyReplacement(key);
        if (replacement.size() > sizeof ready[key].bytes)
            continue;
        unsigned char bytes[3 * sizeof ready[key].bytes + 8];
        std::size_t length = replacement.size();
        if (table != nullptr) {
            TableQueue queue;
            length = static_cast<std::size_t>(queue.PushAll(*table, replacement, bytes) - bytes);
            if (!queue.Empty() || length > sizeof ready[key].bytes)
                continue;
        } else {
            std::memcpy(bytes, replacement.data(), length);
        }
        std::memcpy(&ready[key].bytes, bytes, length);
        ready[key].length = static_cast<std::uint32_t>(length);
        ready[key].ready = true;
    }
    return ready;
}

template <bool kTable>
std::size_t GlossaryMapWalk::Run(std::string_view text, bool last, Bytes& output) {
    const std::size_t size = text.size();
    // Before stop, a pair's trail is there and so is the text of any key starting there.
    const std::size_t reach = std::max<std::size_t>(index_.LongestKey(), 2);
    const std::size_t stop =
        last ? (size == 0 ? 0 : size - 1) : (size >= reach ? size - reach + 1 : 0);
    // Before quick, four bytes can be read (see GlossaryIndex::MatchLong).
    const std::size_t quick = std::min(stop, size >= 3 ? size - 3 : 0);
    out_ = scratch_;
    std::size_t i = 0;
    while (i < stop) {
        const std::size_t end = std::min(stop, i + kSlice);
        while (i < end) {
            if (!pending_ && (!kTable || queue_.Empty())) {
                i = RunInStep<kTable>(text, i, std::min(end, quick), output);
                if (i >= end)
                    break;
            }
            i = Step<kTable>(text, i, output);
        }
        Flush(output);
    }
    if (!last)
        return i;
    const auto* in = reinterpret_cast<const std::uint8_t*>(text.data());
    if (i < size) { // one byte left
        const std::uint8_t b = in[i];
        std::size_t length = 0;
        std::string_view replacement;
        if (b >= 0x80 && index_.FindReplacement(text.substr(i), length, replacement)) {
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
    if constexpr (kTable)
        out_ = queue_.Finish(*table_, out_); // a lead byte cut off at the end
    Flush(output);
    return size;
}

// The common case, kept in local variables: the mapping and the decoder stand where the glossary
// walk stands. The walk looks a window ahead for the places where a key starts (Window), then
// maps the text between them one lookup a place (MapRun). Returns where it stopped: at end, or
// where Step must take over. Four bytes are readable before end.
template <bool kTable>
std::size_t GlossaryMapWalk::RunInStep(std::string_view text, std::size_t i, std::size_t end,
                                       Bytes& output) {
    while (i < end) {
        const Window window = Look(text, i, std::min(end, i + kWindow));
        bool inWindow = true; // i is a place where the window's walk stands
        for (std::size_t k = 0; k < window.matches && inWindow; ++k) {
            const WindowMatch& match = window.match[k];
            const std::size_t at = window.start + match.offset;
            if (at < i)
                continue; // inside the replacement before
            i = MapRun<kTable>(text, i, at);
            if (i != at)
                return i;
            bool whole = false;
            if (!Replace<kTable>(text, i, match, whole, output))
                return i;
            // A key that ends inside a pair of the window's walk, or past the window: look
            // again from where it ends.
            inWindow = whole && i < window.end;
        }
        if (!inWindow)
            continue;
        const std::size_t mapped = MapRun<kTable>(text, i, window.end);
        if (mapped != window.end)
            return mapped;
        i = mapped;
    }
    return i;
}

// Writes the replacement of the key match found at i, moves i past the key and tells whether
// the key was whole steps of the walk. False where Step must take over after it: a byte waits
// in the decoder.
template <bool kTable>
bool GlossaryMapWalk::Replace(std::string_view text, std::size_t& i, const WindowMatch& match,
                              bool& whole, Bytes& output) {
    if (match.key == kShortKey) {
        whole = EndsOnStep(text.substr(i, match.length));
        Replacement<kTable>(std::string_view(match.replacement, match.replacementSize), output);
        i += match.length;
    } else {
        i += match.length;
        const ReadyReplacement& ready = ready_[match.key];
        whole = ready.whole;
        if (ready.ready) {
            std::memcpy(out_, &ready.bytes, sizeof ready.bytes);
            out_ += ready.length;
            return true;
        }
        Replacement<kTable>(index_.LongKeyReplacement(match.key), output);
    }
    return !kTable || queue_.Empty();
}

// The places from i before end where the walk stands and a key starts. The
// index's lookups for all of them are asked for first, so that they come from memory at once.
GlossaryMapWalk::Window GlossaryMapWalk::Look(std::string_view text, std::size_t i,
                                              std::size_t end) const {
    return index_.HasShortKeys() ? Look<true>(text, i, end) : Look<false>(text, i, end);
}

template <bool kShortKeys>
GlossaryMapWalk::Window GlossaryMapWalk::Look(std::string_view text, std::size_t i,
                                              std::size_t end) const {
    const auto* in = reinterpret_cast<const std::uint8_t*>(text.data());
    Window window;
    window.start = i;
    std::uint32_t candidate[kWindow / 2 + 1]; // offsets from i
    std::uint32_t hash[kWindow / 2 + 1];
    std::size_t candidates = 0;
    std::size_t p = i;
    while (p < end) {
        if (in[p] < 0x80) {
            ++p;
            continue;
        }
        const std::uint32_t h = GlossaryIndex::PrefixHash(in + p);
        candidate[candidates] = static_cast<std::uint32_t>(p - i);
        hash[candidates] = h;
        candidates += static_cast<unsigned>(index_.MayHoldPrefix(h)) |
                      static_cast<unsigned>(kShortKeys && index_.ShortMayStart(in + p));
        p += 2;
    }
    window.end = p;
    for (std::size_t k = 0; k < candidates; ++k)
        index_.Prefetch(hash[k]);
    for (std::size_t k = 0; k < candidates; ++k) {
        const std::size_t at = i + candidate[k];
        WindowMatch& match = window.match[window.matches];
        match.offset = candidate[k];
        bool found = false;
        if (kShortKeys && index_.ShortMayStart(in + at)) {
            std::size_t length = 0;
            std::string_view replacement;
            found = index_.FindReplacement(text.substr(at), length, replacement);
            match.key = kShortKey;
            match.length = static_cast<std::uint32_t>(length);
            match.replacement = replacement.data();
            match.replacementSize = replacement.size();
        } else {
            const auto longKey = index_.MatchLong(in + at, text.size() - at, hash[k]);
            match.key = longKey.key;
            match.length = static_cast<std::uint32_t>(longKey.length);
            found = longKey.key != GlossaryIndex::kNoKey;
        }
        window.matches += found;
    }
    return window;
}

// Maps the text from i to end, where the walk stands, one lookup a place. Returns end, or the
// place where something else than that is to be done (see Step).
template <bool kTable>
std::size_t GlossaryMapWalk::MapRun(std::string_view text, std::size_t i, std::size_t end) {
    const auto* in = reinterpret_cast<const std::uint8_t*>(text.data());
    unsigned char* out = out_;
    while (i < end) {
        const std::uint8_t b = in[i];
        if (b < 0x80) {
            if constexpr (kTable) {
                const std::uint32_t entry = table_->single[b];
                if ((entry & packed::kFlag) != 0)
                    break;
                out = PutPacked(out, entry);
            } else {
                *out++ = b;
            }
            ++i;
            continue;
        }
        if (!IsMapLead(b))
            break; // the mapping takes this byte alone and pairs the next ones differently
        const unsigned code = b * 256u + in[i + 1];
        if constexpr (kTable) {
            const std::uint32_t entry = direct_[code];
            if ((entry & packed::kFlag) != 0)
                break;
            out = PutPacked(out, entry);
        } else {
            const GbkCode mapped = map_[code];
            out[0] = static_cast<unsigned char>(mapped >> 8);
            out[1] = static_cast<unsigned char>(mapped & 0xFF);
            out += 2;
        }
        i += 2;
    }
    out_ = out;
    return i;
}

// One place of the walk in general: a byte below 0x80 or a pair, or a key starting there.
// Returns the place after it.
template <bool kTable>
std::size_t GlossaryMapWalk::Step(std::string_view text, std::size_t i, Bytes& output) {
    const auto* in = reinterpret_cast<const std::uint8_t*>(text.data());
    const std::uint8_t b = in[i];
    if (b < 0x80) {
        if (pending_) {
            Mapped<kTable>(pendingLead_ * 256u + b);
            pending_ = false;
        } else {
            Byte<kTable>(b);
        }
        return i + 1;
    }
    const unsigned code = b * 256u + in[i + 1];
    std::size_t length = 0;
    std::string_view replacement;
    if (index_.MayStart(code) && index_.FindReplacement(text.substr(i), length, replacement)) {
        if (pending_) {
            Byte<kTable>(pendingLead_);
            pending_ = false;
        }
        Replacement<kTable>(replacement, output);
        return i + length;
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
    return i + 2;
}

// The byte after a pair the glossary walk stepped over while the mapping took only its
// first byte: the mapping takes it alone or as the lead of the next pair.
template <bool kTable> void GlossaryMapWalk::AfterPair(std::uint8_t byte) {
    if (IsMapLead(byte)) {
        pending_ = true;
        pendingLead_ = byte;
    } else {
        Byte<kTable>(byte);
    }
}

// A pair of the mapping's input, mapped and passed on.
template <bool kTable> void GlossaryMapWalk::Mapped(unsigned code) {
    if constexpr (kTable) {
        const std::uint32_t entry = direct_[code];
        if (queue_.Empty() && (entry & packed::kFlag) == 0) {
            out_ = PutPacked(out_, entry);
            return;
        }
        out_ = queue_.Push(*table_, static_cast<std::uint8_t>(map_[code] >> 8), out_);
        out_ = queue_.Push(*table_, static_cast<std::uint8_t>(map_[code] & 0xFF), out_);
    } else {
        const GbkCode mapped = map_[code];
        out_[0] = static_cast<unsigned char>(mapped >> 8);
        out_[1] = static_cast<unsigned char>(mapped & 0xFF);
        out_ += 2;
    }
}

// A byte the mapping leaves as it is, passed on.
template <bool kTable> void GlossaryMapWalk::Byte(std::uint8_t byte) {
    if constexpr (kTable) {
        const std::uint32_t entry = table_->single[byte];
        if (queue_.Empty() && (entry & packed::kFlag) == 0)
            out_ = PutPacked(out_, entry);
        else
            out_ = queue_.Push(*table_, byte, out_);
    } else {
        *out_++ = byte;
    }
}

// A replacement, untouched by the mapping; a long one goes out in slices.
template <bool kTable> void GlossaryMapWalk::Replacement(std::string_view bytes, Bytes& output) {
    while (true) {
        const std::string_view piece = bytes.substr(0, kSlice);
        if (static_cast<std::size_t>(scratch_ + sizeof scratch_ - out_) <
            3 * piece.size() + kSliceRoom)
            Flush(output);
        if constexpr (kTable) {
            out_ = queue_.PushAll(*table_, piece, out_);
        } else {
            std::memcpy(out_, piece.data(), piece.size());
            out_ += piece.size();
        }
        if (piece.size() == bytes.size())
            return;
        bytes.remove_prefix(piece.size());
    }
}

// Moves what the walk wrote so far to output.
void GlossaryMapWalk::Flush(Bytes& output) {
    output.append(reinterpret_cast<const char*>(scratch_),
                  static_cast<std::size_t>(out_ - scratch_));
    out_ = scratch_;
}

std::size_t GlossaryMapWalk::Run(std::string_view text, bool last, Bytes& output) {
    return table_ != nullptr ? Run<true>(text, last, output) : Run<false>(text, last, output);
}

} // namespace morvane
