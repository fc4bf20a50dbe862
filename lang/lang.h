// The interface texts in three languages and their lookup by id. Texts are UTF-8.
#pragma once

#include <cstdint>
#include <string_view>

namespace morvane {

// Language indexes.
constexpr int kLangEnglish = 0;
constexpr int kLangSimplified = 1;
constexpr int kLangTraditional = 2;

// The current interface language (0, 1 or 2).
extern int g_nLanguage;

// One row of a table: a string id (or menu command id) and its text.
struct LangEntry {
    std::uint32_t nID;
    const char* pszText;
};

// One table: its rows and their number.
struct LangTable {
    const LangEntry* pEntries;
    int nCount;
};

// The string tables, menu tables and help texts, indexed by language.
extern const LangTable g_stringTables[3];
extern const LangTable g_menuTables[3];
extern const char* const g_helpTexts[3];

// The language index for a locale name such as "zh_TW.UTF-8": zh_TW and zh_HK give 2,
// zh_CN and zh_SG give 1, anything else 0.
int LanguageForLocale(std::string_view locale);
// The language index of the environment's locale: the first set of LC_ALL, LC_MESSAGES, LANG.
int GetDefaultLanguage();

// The text of a string id in the current language, or null when the table has no row.
const char* GetLangString(std::uint32_t nID);
// The text of a menu command id in the current language, or null.
const char* GetLangMenuString(std::uint32_t nID);

// Fills buffer (size bytes, at least 1) with the text of nID, cut to size - 1 bytes, and
// a NUL; returns the bytes placed before the NUL, 0 when the id has no text at all.
int LoadStringHook(std::uint32_t nID, char* pszBuffer, int nBufferSize);

} // namespace morvane
