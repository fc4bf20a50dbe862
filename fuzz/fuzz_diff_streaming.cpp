// Every conversion run in pieces of varied sizes against the same conversion over the whole
// text at once: the same bytes however the text is cut.
// Input: a glossary file's bytes (up to a lone backslash), then the text; the input's last bytes
// pick the kind, code pages, flags and piece sizes.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "engine/conversion.h"
#include "engine/glossary.h"
#include "fuzz_support.h"

using namespace morvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size)
{
    FuzzedDataProvider data(bytes, size);
    Conversion conversion;
    conversion.kind = static_cast<ConversionKind>(data.ConsumeIntegralInRange<int>(0, 4));
    conversion.fromCodePage = fuzz::PickCodePage(data.ConsumeIntegral<std::uint8_t>());
    conversion.toCodePage = fuzz::PickCodePage(data.ConsumeIntegral<std::uint8_t>());
    const bool useGlossary = data.ConsumeBool();
    conversion.glossaryFirst = data.ConsumeBool();
    conversion.decodeUtf16Mark = data.ConsumeBool();
    std::uint32_t seed = data.ConsumeIntegral<std::uint32_t>();
    const std::size_t largest = data.ConsumeIntegralInRange<std::size_t>(1, 64);
    CGlossary glossary;
    glossary.LoadText(data.ConsumeRandomLengthString());
    conversion.glossary = useGlossary ? &glossary : nullptr;
    const std::string text = data.ConsumeRemainingBytesAsString();

    const std::unique_ptr<Stage> whole = MakeConversion(conversion);
    const std::unique_ptr<Stage> streamed = MakeConversion(conversion);
    if (!whole || !streamed)
        fuzz::Violated("a conversion between known code pages cannot be set up");
    Bytes once;
    whole->Push(text, true, once);

    // Pieces of 0 to largest bytes, an empty last piece included now and then.
    Bytes pieces;
    std::string_view rest = text;
    bool flushed = false;
    while (!rest.empty()) {
        seed = seed * 1103515245u + 12345u;
        const std::size_t length = std::min<std::size_t>((seed >> 16) % (largest + 1), rest.size());
        flushed = length == rest.size() && (seed & 1) != 0;
        streamed->Push(rest.substr(0, length), flushed, pieces);
        rest.remove_prefix(length);
    }
    if (!flushed)
        streamed->Push({}, true, pieces);
    fuzz::ExpectSame("the text in pieces against the whole text", pieces, once);

    // The window's chunked run gives the same bytes too.
    Bytes chunked = text;
    if (!ConvertWithProgress(chunked, conversion, [](double) { return true; }))
        fuzz::Violated("a conversion with progress was refused");
    fuzz::ExpectSame("ConvertWithProgress against the whole text", chunked, once);
    return 0;
}
