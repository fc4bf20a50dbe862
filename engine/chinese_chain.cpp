// The order in which glossary, character mapping and code page step run for each chain: the
// streaming steps run over the whole text at once, and the same chains written plainly.
#include "engine/chinese_chain.h"

#include "engine/chinese_map.h"
#include "engine/codepage.h"
#include "engine/codepage_iconv.h"
#include "engine/conversion.h"
#include "engine/glossary.h"

namespace morvane {
namespace {

void Run(Bytes& text, ConversionKind kind, const CGlossary& glossary, bool useGlossary,
         bool glossaryFirst = true)
{
    Conversion conversion;
    conversion.kind = kind;
    conversion.glossary = useGlossary ? &glossary : nullptr;
    conversion.glossaryFirst = glossaryFirst;
    const std::unique_ptr<Stage> stage = MakeConversion(conversion);
    RunStage(*stage, text);
}

} // namespace

void SimplifiedToTraditional(Bytes& text, const CGlossary& glossary, bool useGlossary)
{
    Run(text, ConversionKind::SimplifiedToTraditional, glossary, useGlossary);
}

void TraditionalToSimplified(Bytes& text, const CGlossary& glossary, bool useGlossary,
                             bool glossaryFirst)
{
    Run(text, ConversionKind::TraditionalToSimplified, glossary, useGlossary, glossaryFirst);
}

void GbToBig5(Bytes& text, const CGlossary& glossary, bool useGlossary)
{
    Run(text, ConversionKind::GbToBig5, glossary, useGlossary);
}

void Big5ToGb(Bytes& text, const CGlossary& glossary, bool useGlossary, bool glossaryFirst)
{
    Run(text, ConversionKind::Big5ToGb, glossary, useGlossary, glossaryFirst);
}

std::vector<GlossarySegment> GlossarySegments(const CGlossary& glossary, std::string_view text,
                                              std::uint32_t direction)
{
    std::vector<GlossarySegment> segments;
    std::size_t copied = 0; // start of the text not yet in a segment
    std::size_t i = 0;
    while (i < text.size()) {
        if (static_cast<unsigned char>(text[i]) < 0x80) {
            ++i;
            continue;
        }
        const GlossaryEntry* match = nullptr;
        for (std::size_t n = 0; n < glossary.Size() && match == nullptr; ++n) {
            const GlossaryEntry& entry = glossary.At(n);
            const std::string& key =
                direction == GLOSSARY_TO_TRADITIONAL ? entry.simplified : entry.traditional;
            if ((entry.directions & direction) != 0 && !key.empty() &&
                text.substr(i).starts_with(key))
                match = &entry;
        }
        if (match == nullptr) {
            i += i + 1 < text.size() ? 2 : 1;
            continue;
        }
        if (copied < i)
            segments.push_back({text.substr(copied, i - copied), false});
        const std::string& key =
            direction == GLOSSARY_TO_TRADITIONAL ? match->simplified : match->traditional;
        const std::string& replacement =
            direction == GLOSSARY_TO_TRADITIONAL ? match->traditional : match->simplified;
        segments.push_back({replacement, true});
        i += key.size();
        copied = i;
    }
    if (copied < text.size())
        segments.push_back({text.substr(copied), false});
    return segments;
}

namespace plain {
namespace {

void Map(Bytes& text, bool toTraditional)
{
    Bytes mapped;
    (toTraditional ? MapToTraditional : MapToSimplified)(text, mapped);
    text.swap(mapped);
}

// The glossary, then the mapping of each copied segment on its own; replacements as they are.
void GlossaryThenMap(Bytes& text, const CGlossary& glossary, bool toTraditional)
{
    const std::uint32_t direction =
        toTraditional ? GLOSSARY_TO_TRADITIONAL : GLOSSARY_TO_SIMPLIFIED;
    Bytes result;
    for (const GlossarySegment& segment : GlossarySegments(glossary, text, direction)) {
        Bytes piece(segment.bytes);
        if (!segment.fromGlossary)
            Map(piece, toTraditional);
        result += piece;
    }
    text.swap(result);
}

void GlossaryAfter(Bytes& text, const CGlossary& glossary)
{
    Bytes result;
    for (const GlossarySegment& segment : GlossarySegments(glossary, text, GLOSSARY_TO_SIMPLIFIED))
        result += segment.bytes;
    text.swap(result);
}

} // namespace

void SimplifiedToTraditional(Bytes& text, const CGlossary& glossary, bool useGlossary)
{
    if (useGlossary)
        GlossaryThenMap(text, glossary, true);
    else
        Map(text, true);
}

void TraditionalToSimplified(Bytes& text, const CGlossary& glossary, bool useGlossary,
                             bool glossaryFirst)
{
    if (useGlossary && glossaryFirst) {
        GlossaryThenMap(text, glossary, false);
        return;
    }
    Map(text, false);
    if (useGlossary)
        GlossaryAfter(text, glossary);
}

void GbToBig5(Bytes& text, const CGlossary& glossary, bool useGlossary)
{
    plain::SimplifiedToTraditional(text, glossary, useGlossary);
    ConvertCodePageWithIconv(text, kCodePageGbk, kCodePageBig5);
}

void Big5ToGb(Bytes& text, const CGlossary& glossary, bool useGlossary, bool glossaryFirst)
{
    ConvertCodePageWithIconv(text, kCodePageBig5, kCodePageGbk);
    plain::TraditionalToSimplified(text, glossary, useGlossary, glossaryFirst);
}

} // namespace plain
} // namespace morvane
