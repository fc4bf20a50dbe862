// The current interface language, its choice from the locale at start, and the lookup of
// texts by id, including the loader that every framework string request goes through.
#include "lang/lang.h"
#include "lang/string_ids.h"

#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <iterator>

namespace morvane {

// Set from GetDefaultLanguage() by the application object before any window exists.
int g_nLanguage = kLangEnglish;

namespace {

// The strings compiled in as plain resources. They only hold a placeholder for ids the
// tables always answer, so a resource text showing up in the interface means a table lost
// its row.
constexpr LangEntry kResourceStrings[] = {
    {IDR_MAINFRAME, "X"},        {IDS_APP_TITLE, "X"},        {IDS_MENU_FILE, "X"},
    {IDS_MENU_VIEW, "X"},        {IDS_MENU_HELP, "X"},        {IDS_OVERWRITE_PROMPT, "X"},
    {IDS_NO_MATCHING_FONT, "X"},
};

const char* FindText(const LangEntry* pEntries, int nCount, std::uint32_t nID) {
    for (int i = 0; i < nCount; ++i) {
        if (pEntries[i].nID == nID)
            return pEntries[i].pszText;
    }
    return nullptr;
}

const char* FindInCurrent(const LangTable (&tables)[3], std::uint32_t nID) {
    const LangTable& table = tables[g_nLanguage];
    return FindText(table.pEntries, table.nCount, nID);
}

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

} // namespace

int LanguageForLocale(std::string_view locale) {
    if (StartsWith(locale, "zh_TW") || StartsWith(locale, "zh_HK"))
        return kLangTraditional;
    if (StartsWith(locale, "zh_CN") || StartsWith(locale, "zh_SG"))
        return kLangSimplified;
    return kLangEnglish;
}

int GetDefaultLanguage() {
    // The same precedence the C library uses for message catalogues.
    for (const char* pszName : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* pszValue = std::getenv(pszName);
        if (pszValue != nullptr && pszValue[0] != '\0')
            return LanguageForLocale(pszValue);
    }
    return kLangEnglish;
}

const char* GetLangString(std::uint32_t nID) { return FindInCurrent(g_stringTables, nID); }

const char* GetLangMenuString(std::uint32_t nID) { return FindInCurrent(g_menuTables, nID); }

int LoadStringHook(std::uint32_t nID, char* pszBuffer, int nBufferSize) {
    if (pszBuffer == nullptr || nBufferSize <= 0)
        return 0;
    const char* pszText = GetLangString(nID);
    if (pszText == nullptr)
        pszText = FindText(kResourceStrings, static_cast<int>(std::size(kResourceStrings)), nID);
    if (pszText == nullptr) {
        pszBuffer[0] = '\0';
        return 0;
    }
    // Cut by bytes, even inside a multi-byte character: a caller that retries with a
    // bigger buffer whenever the result is size - 1 still ends up with the whole text.
    std::size_t nLength = std::strlen(pszText);
    if (nLength >= static_cast<std::size_t>(nBufferSize))
        nLength = static_cast<std::size_t>(nBufferSize) - 1;
    std::memcpy(pszBuffer, pszText, nLength);
    pszBuffer[nLength] = '\0';
    return static_cast<int>(nLength);
}

} // namespace morvane
