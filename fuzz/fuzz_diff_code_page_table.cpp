// The table-driven code page paths against plain iconv over the whole text: the same bytes for
// any two code pages Morvane knows (the first two input bytes pick them) and any text.
#include <cstdint>
#include <string>

#include "engine/codepage.h"
#include "engine/codepage_iconv.h"
#include "fuzz_support.h"

using namespace morvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size)
{
    if (size < 2)
        return 0;
    const int from = fuzz::PickCodePage(bytes[0]);
    const int to = fuzz::PickCodePage(bytes[1]);
    const Bytes original(reinterpret_cast<const char*>(bytes) + 2, size - 2);

    Bytes fast = original;
    Bytes plain = original;
    if (!ConvertCodePage(fast, from, to) || !ConvertCodePageWithIconv(plain, from, to))
        fuzz::Violated("a known code page is refused");
    fuzz::ExpectSame("ConvertCodePage against iconv", fast, plain);

    // The file reader's path: the same text behind the UTF-16LE mark.
    fast = "\xFF\xFE" + original;
    plain = fast;
    if (!DecodeLoadedText(fast, to) || !DecodeLoadedTextWithIconv(plain, to))
        fuzz::Violated("a known code page is refused");
    fuzz::ExpectSame("DecodeLoadedText against iconv", fast, plain);
    return 0;
}
