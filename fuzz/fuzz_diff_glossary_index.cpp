// The indexed glossary against a plain walk down the list of pairs: the same pair found at
// every position, the same replaced text both ways, and the same text when it comes in pieces.
// Input: a glossary file's bytes (up to a lone backslash), then the text; its last two bytes
// pick where it is cut in two.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/chinese_chain.h"
#include "engine/glossary.h"
#include "fuzz_support.h"

using namespace morvane;

namespace {

const std::string& Key(const GlossaryEntry& entry, std::uint32_t direction)
{
    return direction == GLOSSARY_TO_TRADITIONAL ? entry.simplified : entry.traditional;
}

// The first pair in list order that has the direction and whose key starts text at position.
const GlossaryEntry* PlainFind(const CGlossary& glossary, std::string_view text,
                               std::size_t position, std::uint32_t direction)
{
    if (position >= text.size())
        return nullptr;
    for (std::size_t i = 0; i < glossary.Size(); ++i) {
        const GlossaryEntry& entry = glossary.At(i);
        if ((entry.directions & direction) != 0 && !Key(entry, direction).empty() &&
            text.substr(position).starts_with(Key(entry, direction)))
            return &entry;
    }
    return nullptr;
}

// The replaced text by the engine's plain list walk (its reference chains use the same walk).
Bytes PlainApply(const CGlossary& glossary, std::string_view text, std::uint32_t direction)
{
    Bytes out;
    for (const GlossarySegment& segment : GlossarySegments(glossary, text, direction))
        out += segment.bytes;
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size)
{
    FuzzedDataProvider data(bytes, size);
    CGlossary glossary;
    glossary.LoadText(data.ConsumeRandomLengthString());
    const std::size_t split = data.ConsumeIntegral<std::uint16_t>();
    const std::string text = data.ConsumeRemainingBytesAsString();

    for (const std::uint32_t direction : {GLOSSARY_TO_SIMPLIFIED, GLOSSARY_TO_TRADITIONAL}) {
        for (std::size_t position = 0; position <= text.size(); ++position)
            if (glossary.Find(text, position, direction) !=
                PlainFind(glossary, text, position, direction))
                fuzz::Violated("Find differs from the plain walk");

        const Bytes plain = PlainApply(glossary, text, direction);
        Bytes indexed;
        if (direction == GLOSSARY_TO_TRADITIONAL)
            glossary.ApplyToTraditional(text, indexed);
        else
            glossary.ApplyToSimplified(text, indexed);
        fuzz::ExpectSame("Apply against the plain walk", indexed, plain);

        // The text in two pieces: what the first call leaves is given again with the rest.
        const std::string_view whole = text;
        const std::size_t cut = text.empty() ? 0 : split % (text.size() + 1);
        Bytes pieces;
        const std::size_t used = glossary.ApplyPrefix(whole.substr(0, cut), false, direction, pieces);
        if (used > cut)
            fuzz::Violated("ApplyPrefix used more than it was given");
        glossary.ApplyPrefix(whole.substr(used), true, direction, pieces);
        fuzz::ExpectSame("ApplyPrefix in two pieces against the plain walk", pieces, plain);
    }
    return 0;
}
