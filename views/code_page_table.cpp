// The code page table of the Code translate view.
#include "views/code_page_table.h"

namespace morvane {

const CodePageEntry g_codePageTable[kCodePageRows] = {
    {222, 874, "874, Thai, THAI_CHARSET"},
    {128, 932, "932, Japanese, SHIFTJIS_CHARSET"},
    {134, 936, "936, Chinese(PRC), GB2312_CHARSET"},
    {129, 949, "949, Korean, HANGUL_CHARSET"},
    {136, 950, "950, Chinese(Taiwan), CHINESEBIG5_CHARSET"},
    {238, 1250, "1250, Czech&Hungarian&Polish, EASTEUROPE_CHARSET"},
    {204, 1251, "1251, Russian, RUSSIAN_CHARSET"},
    {0, 1252, "1252, English, ANSI_CHARSET"},
    {161, 1253, "1253, Greece, GREEK_CHARSET"},
    {162, 1254, "1254, Turkey, TURKISH_CHARSET"},
    {177, 1255, "1255, Hebrew, HEBREW_CHARSET"},
    {178, 1256, "1256, Arabic, ARABIC_CHARSET"},
    {186, 1257, "1257, Baltic, BALTIC_CHARSET"},
    {163, 1258, "1258, Vietnamese, VIETNAMESE_CHARSET"},
    {130, 1361, "1361, Korean, JOHAB_CHARSET"},
    {1, 65001, "65001, Unicode, UTF-8"},
    {134, 54936, "54936, Chinese, GB18030"},
};

} // namespace morvane
