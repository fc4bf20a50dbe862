// Code page conversion through Unicode on iconv, with '?' for whatever cannot be carried.
#include "engine/codepage.h"

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <iconv.h>
#include <string>

namespace morvane {
namespace {

// A Windows code page number, the iconv name of its table, and the size of the code
// unit that a broken sequence is skipped by (so UTF-16 and UTF-32 stay aligned).
struct CodePageName {
    int codePage;
    const char* iconvName;
    int unitSize;
};

// The one table from code page numbers to iconv names.
constexpr CodePageName kCodePageNames[] = {
    // The code pages the window offers.
    {874, "CP874", 1},
    {932, "CP932", 1},
    {936, "CP936", 1},
    {949, "CP949", 1},
    {950, "CP950", 1},
    {1250, "CP1250", 1},
    {1251, "CP1251", 1},
    {1252, "CP1252", 1},
    {1253, "CP1253", 1},
    {1254, "CP1254", 1},
    {1255, "CP1255", 1},
    {1256, "CP1256", 1},
    {1257, "CP1257", 1},
    {1258, "CP1258", 1},
    {1361, "CP1361", 1},
    // Unicode forms.
    {65001, "UTF-8", 1},
    {1200, "UTF-16LE", 2},
    {1201, "UTF-16BE", 2},
    {12000, "UTF-32LE", 4},
    {12001, "UTF-32BE", 4},
    {65000, "UTF-7", 1},
    // Chinese, Japanese and Korean beyond the Windows tables.
    {54936, "GB18030", 1},
    {20936, "GB2312", 1},
    {51936, "EUC-CN", 1},
    {52936, "HZ-GB-2312", 1},
    {50220, "ISO-2022-JP", 1},
    {50221, "ISO-2022-JP", 1},
    {50222, "ISO-2022-JP", 1},
    {50225, "ISO-2022-KR", 1},
    {20932, "EUC-JP", 1},
    {51932, "EUC-JP", 1},
    {51949, "EUC-KR", 1},
    {20000, "EUC-TW", 1},
    {10008, "EUC-CN", 1},
    // DOS code pages.
    {437, "CP437", 1},
    {737, "CP737", 1},
    {775, "CP775", 1},
    {850, "CP850", 1},
    {852, "CP852", 1},
    {855, "CP855", 1},
    {857, "CP857", 1},
    {858, "CP858", 1},
    {860, "CP860", 1},
    {861, "CP861", 1},
    {862, "CP862", 1},
    {863, "CP863", 1},
    {864, "CP864", 1},
    {865, "CP865", 1},
    {866, "CP866", 1},
    {869, "CP869", 1},
    // ISO 8859, KOI8, ASCII and Macintosh.
    {20127, "ASCII", 1},
    {28591, "ISO-8859-1", 1},
    {28592, "ISO-8859-2", 1},
    {28593, "ISO-8859-3", 1},
    {28594, "ISO-8859-4", 1},
    {28595, "ISO-8859-5", 1},
    {28596, "ISO-8859-6", 1},
    {28597, "ISO-8859-7", 1},
    {28598, "ISO-8859-8", 1},
    {28599, "ISO-8859-9", 1},
    {28603, "ISO-8859-13", 1},
    {28605, "ISO-8859-15", 1},
    {20866, "KOI8-R", 1},
    {21866, "KOI8-U", 1},
    {10000, "MACINTOSH", 1},
    {10007, "MAC-CYRILLIC", 1},
    // EBCDIC.
    {37, "IBM037", 1},
    {500, "IBM500", 1},
    {1026, "IBM1026", 1},
    {1047, "IBM1047", 1},
};

const CodePageName* FindCodePage(int codePage)
{
    for (const CodePageName& entry : kCodePageNames)
        if (entry.codePage == codePage)
            return &entry;
    return nullptr;
}

// An iconv descriptor that closes itself.
class Converter {
  public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter()
    {
        if (ok())
            iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t get() const { return cd_; }

  private:
    iconv_t cd_;
};

constexpr wchar_t kReplacement = L'?';

// Decodes bytes of one code page into Unicode (wchar_t is UCS-4 with glibc). A sequence
// iconv rejects, or one cut off at the end, becomes one '?' and is skipped by one unit.
bool Decode(const std::string& bytes, const CodePageName& page, std::wstring& unicode)
{
    Converter converter("WCHAR_T", page.iconvName);
    if (!converter.ok())
        return false;
    // No code page gives more than one character per byte, but a stateful decoder may
    // hold one back until the flush: a little slack keeps the loop simple.
    unicode.assign(bytes.size() + 4, L'\0');
    char* in = const_cast<char*>(bytes.data());
    std::size_t inLeft = bytes.size();
    std::size_t produced = 0;
    while (true) {
        char* out = reinterpret_cast<char*>(unicode.data() + produced);
        std::size_t outLeft = (unicode.size() - produced) * sizeof(wchar_t);
        const std::size_t outBefore = outLeft;
        const bool flushing = inLeft == 0;
        const std::size_t result = flushing
                                       ? iconv(converter.get(), nullptr, nullptr, &out, &outLeft)
                                       : iconv(converter.get(), &in, &inLeft, &out, &outLeft);
        produced += (outBefore - outLeft) / sizeof(wchar_t);
        if (result != static_cast<std::size_t>(-1)) {
            if (flushing)
                break;
            continue;
        }
        if (errno == E2BIG) {
            unicode.resize(unicode.size() * 2 + 16);
            continue;
        }
        if (produced == unicode.size())
            unicode.resize(unicode.size() * 2 + 16);
        unicode[produced++] = kReplacement;
        if (errno == EINVAL) { // cut off at the end
            inLeft = 0;
            continue;
        }
        const std::size_t skip = std::min<std::size_t>(page.unitSize, inLeft);
        in += skip;
        inLeft -= skip;
    }
    unicode.resize(produced);
    return true;
}

// Encodes Unicode into a code page; a character the code page lacks becomes its '?'.
bool Encode(const std::wstring& unicode, const CodePageName& page, std::string& bytes)
{
    Converter converter(page.iconvName, "WCHAR_T");
    if (!converter.ok())
        return false;
    bytes.assign(unicode.size() * 2 + 16, '\0');
    char* in = reinterpret_cast<char*>(const_cast<wchar_t*>(unicode.data()));
    std::size_t inLeft = unicode.size() * sizeof(wchar_t);
    std::size_t produced = 0;
    wchar_t replacement = kReplacement;
    while (true) {
        char* out = bytes.data() + produced;
        std::size_t outLeft = bytes.size() - produced;
        const std::size_t outBefore = outLeft;
        const bool flushing = inLeft == 0;
        const std::size_t result = flushing
                                       ? iconv(converter.get(), nullptr, nullptr, &out, &outLeft)
                                       : iconv(converter.get(), &in, &inLeft, &out, &outLeft);
        produced += outBefore - outLeft;
        if (result != static_cast<std::size_t>(-1)) {
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
        // Not representable: put the code page's own '?' through the same descriptor,
        // so stateful encodings stay in step, and skip the character.
        char* replacementIn = reinterpret_cast<char*>(&replacement);
        std::size_t replacementLeft = sizeof(wchar_t);
        out = bytes.data() + produced;
        outLeft = bytes.size() - produced;
        const std::size_t outBeforeReplacement = outLeft;
        iconv(converter.get(), &replacementIn, &replacementLeft, &out, &outLeft);
        produced += outBeforeReplacement - outLeft;
        in += sizeof(wchar_t);
        inLeft -= sizeof(wchar_t);
    }
    bytes.resize(produced);
    return true;
}

} // namespace

const char* IconvNameForCodePage(int codePage)
{
    const CodePageName* entry = FindCodePage(codePage);
    return entry != nullptr ? entry->iconvName : nullptr;
}

bool ConvertCodePage(Bytes& text, int fromCodePage, int toCodePage)
{
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

bool DecodeLoadedText(Bytes& buffer, int codePage)
{
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

} // namespace morvane
