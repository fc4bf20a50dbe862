// ConvertCodePage between any two code pages Morvane knows: the first two input bytes pick
// them, the rest is the text.
#include <cstdint>
#include <string>

#include "engine/codepage.h"
#include "fuzz_support.h"

using namespace morvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size)
{
    if (size < 2)
        return 0;
    const int from = fuzz::PickCodePage(bytes[0]);
    const int to = fuzz::PickCodePage(bytes[1]);
    const Bytes original(reinterpret_cast<const char*>(bytes) + 2, size - 2);

    Bytes text = original;
    if (!ConvertCodePage(text, from, to))
        fuzz::Violated("a known code page is refused");
    // And back: the target's encoder output fed to its own decoder, state and all.
    if (!ConvertCodePage(text, to, from))
        fuzz::Violated("a known code page is refused");

    // Unknown numbers leave the text alone.
    Bytes untouched = original;
    if (ConvertCodePage(untouched, 0, to) || ConvertCodePage(untouched, from, -1))
        fuzz::Violated("code page 0 or -1 is accepted");
    fuzz::ExpectSame("text after a refused conversion", untouched, original);
    return 0;
}
