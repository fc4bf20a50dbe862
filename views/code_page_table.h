// The code pages the Code translate view offers, in list order.
#pragma once

#include <cstdint>

namespace morvane {

struct CodePageEntry {
    std::int32_t nCharSet; // the classic font character set of the code page
    std::int32_t nCodePage;
    const char* pszLabel; // the list's text, the same in every language
};

// Rows 0 to 14 are the fifteen classic code pages (stored selections keep their meaning);
// rows 15 and 16 add UTF-8 and GB18030.
constexpr int kCodePageRows = 17;
extern const CodePageEntry g_codePageTable[kCodePageRows];

} // namespace morvane
