// Code page conversion through Unicode, with '?' for whatever cannot be carried: the table of
// code page numbers, and the whole-text entry points over the streaming steps.
#include "engine/codepage.h"

#include "engine/codepage_iconv.h"
#include "engine/codepage_stream.h"

namespace morvane {
namespace {

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

} // namespace

const CodePageName* FindCodePage(int codePage)
{
    for (const CodePageName& entry : kCodePageNames)
        if (entry.codePage == codePage)
            return &entry;
    return nullptr;
}

const char* IconvNameForCodePage(int codePage)
{
    const CodePageName* entry = FindCodePage(codePage);
    return entry != nullptr ? entry->iconvName : nullptr;
}

bool ConvertCodePage(Bytes& text, int fromCodePage, int toCodePage)
{
    const std::unique_ptr<Stage> stage = MakeCodePageStage(fromCodePage, toCodePage);
    if (!stage)
        return false;
    RunStage(*stage, text);
    return true;
}

bool DecodeLoadedText(Bytes& buffer, int codePage)
{
    const std::unique_ptr<Stage> stage = MakeLoadedTextStage(codePage);
    if (!stage)
        return false;
    if (buffer.size() >= 2 && static_cast<unsigned char>(buffer[0]) == 0xFF &&
        static_cast<unsigned char>(buffer[1]) == 0xFE)
        RunStage(*stage, buffer);
    return true;
}

} // namespace morvane
