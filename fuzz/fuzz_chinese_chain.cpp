// The Simplified/Traditional chains on any text, with and without a glossary made of any bytes.
// Input: the glossary file's bytes (up to a lone backslash), then the text; its last bytes pick
// the chain and its flags.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>

#include "engine/chinese_chain.h"
#include "engine/glossary.h"
#include "fuzz_support.h"

using namespace morvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size)
{
    FuzzedDataProvider data(bytes, size);
    // One chain per input: setting up a chain costs more than running it on a short text.
    const int chain = data.ConsumeIntegralInRange<int>(0, 3);
    const bool useGlossary = data.ConsumeBool();
    const bool glossaryFirst = data.ConsumeBool();
    CGlossary glossary;
    glossary.LoadText(data.ConsumeRandomLengthString());
    const Bytes original = data.ConsumeRemainingBytesAsString();
    const CGlossary empty;

    Bytes text = original;
    Bytes withEmpty = original;
    switch (chain) {
    case 0:
        SimplifiedToTraditional(text, useGlossary ? glossary : empty, true);
        SimplifiedToTraditional(withEmpty, glossary, false);
        break;
    case 1:
        TraditionalToSimplified(text, useGlossary ? glossary : empty, true, glossaryFirst);
        TraditionalToSimplified(withEmpty, glossary, false, glossaryFirst);
        break;
    case 2:
        GbToBig5(text, glossary, useGlossary);
        // The BIG5 result goes back the other way, as a round trip in the window would.
        Big5ToGb(text, glossary, useGlossary, glossaryFirst);
        return 0;
    default:
        Big5ToGb(text, glossary, useGlossary, glossaryFirst);
        return 0;
    }
    // Inside GBK the mapping swaps two-byte characters for two-byte characters: without a
    // glossary the text keeps its length, and an empty glossary is no glossary.
    if (withEmpty.size() != original.size())
        fuzz::Violated("the mapping inside GBK changed the length");
    if (!useGlossary)
        fuzz::ExpectSame("an empty glossary against none", text, withEmpty);
    return 0;
}
