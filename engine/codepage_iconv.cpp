// Code page conversion through Unicode on iconv, with '?' for whatever cannot be carried.
#include "engine/codepage_iconv.h"

#include <algorithm>
#include <cerrno>
#include <cstddef>

namespace morvane {
namespace {

constexpr wchar_t kReplacement = L'?';
constexpr std::size_t kFailed = static_cast<std::size_t>(-1);

// Decodes bytes of one code page into Unicode (wchar_t is UCS-4 with glibc). A sequence
// iconv rejects, or one cut off at the end, becomes one '?' and is skipped by one unit.
bool Decode(const std::string& bytes, const CodePageName& page, std::wstring& unicode) {
    IconvDecoder decoder(page);
    if (!decoder.ok())
        return false;
    unicode.clear();
    decoder.Decode(bytes, /*last=*/true, unicode);
    return true;
}

// Puts the code page's own '?' through the same descriptor, so stateful encodings stay in
// step; returns the bytes written.
std::size_t WriteReplacement(iconv_t cd, char* out, std::size_t outLeft) {
    wchar_t replacement = kReplacement;
    char* in = reinterpret_cast<char*>(&replacement);
    std::size_t inLeft = sizeof(wchar_t);
    const std::size_t before = outLeft;
    iconv(cd, &in, &inLeft, &out, &outLeft);
    return before - outLeft;
}

// Encodes Unicode into a code page; a character the code page lacks becomes its '?'.
// With flush, ends with what a stateful encoding still holds (a shift back, say).
void EncodeInto(iconv_t cd, std::wstring_view unicode, bool flush, std::string& bytes) {
    std::size_t produced = bytes.size();
    bytes.resize(produced + unicode.size() * 2 + 16);
    char* in = reinterpret_cast<char*>(const_cast<wchar_t*>(unicode.data()));
    std::size_t inLeft = unicode.size() * sizeof(wchar_t);
    while (true) {
        char* out = bytes.data() + produced;
        std::size_t outLeft = bytes.size() - produced;
        const std::size_t outBefore = outLeft;
        const bool flushing = inLeft == 0;
        if (flushing && !flush)
            break;
        const std::size_t result = flushing ? iconv(cd, nullptr, nullptr, &out, &outLeft)
                                            : iconv(cd, &in, &inLeft, &out, &outLeft);
        produced += outBefore - outLeft;
        if (result != kFailed) {
            if (flushing)
                break;
            continue;
        }
        if (errno == E2BIG) {
            bytes.resize(bytes.size() * 2 + 16);
            continue;
        }
        if (bytes.size() - produced < 16) // room for the replacement
            bytes.resize(bytes.size() * 2 + 16);
        produced += WriteReplacement(cd, bytes.data() + produced, bytes.size() - produced);
        in += sizeof(wchar_t);
        inLeft -= sizeof(wchar_t);
    }
    bytes.resize(produced);
}

bool Encode(const std::wstring& unicode, const CodePageName& page, std::string& bytes) {
    IconvHandle converter(page.iconvName, "WCHAR_T");
    if (!converter.ok())
        return false;
    bytes.clear();
    EncodeInto(converter.get(), unicode, true, bytes);
    return true;
}

} // namespace

IconvHandle::~IconvHandle() {
    if (ok())
        iconv_close(cd_);
}

bool ConvertCodePageWithIconv(Bytes& text, int fromCodePage, int toCodePage) {
    const CodePageName* from = FindCodePage(fromCodePage);
    const CodePageName* to = FindCodePage(toCodePage);
    if (from == nullptr || to == nullptr)
        return false;
    std::wstring unicode;
    std::string result;
    if (!Decode(text, *from, unicode) || !Encode(unicode, *to, result))
        return false;
    text.swap(result);
    return true;
}

bool DecodeLoadedTextWithIconv(Bytes& buffer, int codePage) {
    const CodePageName* to = FindCodePage(codePage);
    if (to == nullptr)
        return false;
    if (buffer.size() < 2 || static_cast<unsigned char>(buffer[0]) != 0xFF ||
        static_cast<unsigned char>(buffer[1]) != 0xFE)
        return true;
    static const CodePageName kUtf16Le = *FindCodePage(1200);
    std::wstring unicode;
    std::string result;
    if (!Decode(buffer.substr(2), kUtf16Le, unicode) || !Encode(unicode, *to, result))
        return false;
    buffer.swap(result);
    return true;
}

IconvDecoder::IconvDecoder(const CodePageName& page)
    : handle_("WCHAR_T", page.iconvName), unitSize_(page.unitSize) {}

std::size_t IconvDecoder::Decode(std::string_view bytes, bool last, std::wstring& unicode) {
    std::size_t produced = unicode.size();
    unicode.resize(produced + bytes.size() + 4);
    char* in = const_cast<char*>(bytes.data());
    std::size_t inLeft = bytes.size();
    while (true) {
        char* out = reinterpret_cast<char*>(unicode.data() + produced);
        std::size_t outLeft = (unicode.size() - produced) * sizeof(wchar_t);
        const std::size_t outBefore = outLeft;
        const bool flushing = inLeft == 0;
        if (flushing && !last)
            break;
        const std::size_t result = flushing ? iconv(handle_.get(), nullptr, nullptr, &out, &outLeft)
                                            : iconv(handle_.get(), &in, &inLeft, &out, &outLeft);
        produced += (outBefore - outLeft) / sizeof(wchar_t);
        if (result != kFailed) {
            if (flushing)
                break;
            continue;
        }
        if (errno == E2BIG) {
            unicode.resize(unicode.size() * 2 + 16);
            continue;
        }
        if (errno == EINVAL && !last)
            break; // the rest comes with the next piece
        if (produced == unicode.size())
            unicode.resize(unicode.size() * 2 + 16);
        unicode[produced++] = kReplacement;
        if (errno == EINVAL) { // cut off at the end
            inLeft = 0;
            continue;
        }
        const std::size_t skip = std::min<std::size_t>(unitSize_, inLeft);
        in += skip;
        inLeft -= skip;
    }
    unicode.resize(produced);
    return bytes.size() - inLeft;
}

IconvEncoder::IconvEncoder(const CodePageName& page) : handle_(page.iconvName, "WCHAR_T") {}

void IconvEncoder::Encode(std::wstring_view unicode, bool last, Bytes& bytes) {
    EncodeInto(handle_.get(), unicode, last, bytes);
}

} // namespace morvane
