// DecodeLoadedText on any file bytes, into any code page Morvane knows (the first input byte
// picks it): text with the UTF-16LE mark is decoded, any other text stays byte for byte.
#include <cstdint>
#include <string>

#include "engine/codepage.h"
#include "fuzz_support.h"

using namespace morvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size)
{
    if (size < 1)
        return 0;
    const int codePage = fuzz::PickCodePage(bytes[0]);
    const Bytes file(reinterpret_cast<const char*>(bytes) + 1, size - 1);

    Bytes buffer = file;
    if (!DecodeLoadedText(buffer, codePage))
        fuzz::Violated("a known code page is refused");
    const bool marked = file.size() >= 2 && file[0] == '\xFF' && file[1] == '\xFE';
    if (!marked)
        fuzz::ExpectSame("unmarked text", buffer, file);

    // The file as UTF-16LE text with the mark in front, whatever its length or surrogates.
    Bytes utf16 = "\xFF\xFE" + file;
    if (!DecodeLoadedText(utf16, codePage))
        fuzz::Violated("a known code page is refused");

    Bytes untouched = file;
    if (DecodeLoadedText(untouched, 0))
        fuzz::Violated("code page 0 is accepted");
    fuzz::ExpectSame("text after a refused decode", untouched, file);
    return 0;
}
