// Tests of the interface language tables, the start-up language rule and the string lookup.
#include "lang/lang.h"
#include "lang/string_ids.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace morvane {
namespace {

const char* const kLangNames[3] = {"English", "Simplified", "Traditional"};

// Restores the interface language after each test that switches it.
class LangTest : public ::testing::Test {
protected:
    void SetUp() override { m_nSaved = g_nLanguage; }
    void TearDown() override { g_nLanguage = m_nSaved; }

private:
    int m_nSaved = 0;
};

std::vector<std::uint32_t> Ids(const LangTable& table) {
    std::vector<std::uint32_t> ids;
    for (int i = 0; i < table.nCount; ++i)
        ids.push_back(table.pEntries[i].nID);
    return ids;
}

// Every text of a language: its string rows, its menu rows and its help text.
std::vector<std::string> AllTexts(int nLang) {
    std::vector<std::string> texts;
    for (const LangTable* pTable : {&g_stringTables[nLang], &g_menuTables[nLang]}) {
        for (int i = 0; i < pTable->nCount; ++i)
            texts.emplace_back(pTable->pEntries[i].pszText);
    }
    texts.emplace_back(g_helpTexts[nLang]);
    return texts;
}

// Converts with the C library's iconv, strictly: any character the target lacks is a
// failure (nullopt), never a substitute.
std::optional<std::string> Iconv(const std::string& text, const char* pszTo, const char* pszFrom) {
    iconv_t cd = iconv_open(pszTo, pszFrom);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return std::nullopt;
    std::string input = text;
    std::string output(text.size() * 4 + 16, '\0');
    char* pIn = input.data();
    std::size_t nInLeft = input.size();
    char* pOut = output.data();
    std::size_t nOutLeft = output.size();
    std::size_t nResult = iconv(cd, &pIn, &nInLeft, &pOut, &nOutLeft);
    iconv_close(cd);
    // A positive result counts characters converted non-reversibly: a loss as well.
    if (nResult != 0 || nInLeft != 0)
        return std::nullopt;
    output.resize(output.size() - nOutLeft);
    return output;
}

std::vector<std::string> HelpLines(const char* pszHelp) {
    std::vector<std::string> lines;
    std::string text = pszHelp;
    std::size_t nStart = 0;
    for (std::size_t nEnd; (nEnd = text.find("\r\n", nStart)) != std::string::npos;
         nStart = nEnd + 2)
        lines.push_back(text.substr(nStart, nEnd - nStart));
    EXPECT_EQ(nStart, text.size()) << "text after the last CR LF";
    return lines;
}

// ---- Table shape ----

TEST(LangTables, EveryLanguageHasTheSameIdsInTheSameOrder) {
    const std::vector<std::uint32_t> expectedStrings = {
        128,   57344, 57345, 61184, 61185, 61186, 61187, 61190, 61202, 57665, 59392,
        59393, 57664, 32771, 32772, 32773, 32778, 32779, 1,     1007,  1008,  1021,
        1025,  1026,  1023,  1022,  1010,  1011,  1016,  1017,  1018,  1019,  100,
        59136, 59137, 59138, 59139, 59140, 59141, 61207, 61208};
    const std::vector<std::uint32_t> expectedMenus = {
        61204, 61205, 61206, 57665, 32771, 32772, 32773, 32778, 32779, 59392, 59393, 57664};
    for (int nLang = 0; nLang < 3; ++nLang) {
        SCOPED_TRACE(kLangNames[nLang]);
        EXPECT_EQ(Ids(g_stringTables[nLang]), expectedStrings);
        EXPECT_EQ(Ids(g_menuTables[nLang]), expectedMenus);
    }
}

TEST(LangTables, IdsAreUniqueAndNonZeroAndTextsNonNull) {
    for (int nLang = 0; nLang < 3; ++nLang) {
        for (const LangTable* pTable : {&g_stringTables[nLang], &g_menuTables[nLang]}) {
            std::set<std::uint32_t> seen;
            for (int i = 0; i < pTable->nCount; ++i) {
                const LangEntry& entry = pTable->pEntries[i];
                SCOPED_TRACE(std::string(kLangNames[nLang]) + " id " + std::to_string(entry.nID));
                EXPECT_NE(entry.nID, 0u);
                EXPECT_TRUE(seen.insert(entry.nID).second) << "duplicate id";
                ASSERT_NE(entry.pszText, nullptr);
                EXPECT_NE(entry.pszText[0], '\0');
            }
        }
    }
}

TEST(LangTables, EnglishIsAscii) {
    for (const std::string& text : AllTexts(kLangEnglish)) {
        for (unsigned char c : text)
            ASSERT_LT(c, 0x80) << text;
    }
}

TEST(LangTables, SimplifiedFitsGbkAndTraditionalFitsBig5) {
    const struct {
        int nLang;
        const char* pszCharset;
    } cases[] = {{kLangSimplified, "CP936"}, {kLangTraditional, "CP950"}};
    for (const auto& c : cases) {
        for (const std::string& text : AllTexts(c.nLang)) {
            std::optional<std::string> encoded = Iconv(text, c.pszCharset, "UTF-8");
            ASSERT_TRUE(encoded.has_value()) << c.pszCharset << " cannot hold: " << text;
            EXPECT_EQ(Iconv(*encoded, "UTF-8", c.pszCharset), text) << "no round trip: " << text;
        }
    }
}

// The conversion check above must itself reject what the target lacks.
TEST(LangTables, StrictIconvRejectsMissingCharacters) {
    EXPECT_FALSE(Iconv("简", "CP950", "UTF-8").has_value()); // Simplified-only character
    EXPECT_FALSE(Iconv("한", "CP936", "UTF-8").has_value()); // Hangul
}

TEST(LangTables, HelpTextsHave22CrLfLinesAndShareTheExampleLines) {
    const std::vector<std::string> english = HelpLines(g_helpTexts[kLangEnglish]);
    ASSERT_EQ(english.size(), 22u);
    EXPECT_EQ(english[17], "morvane /X 936 932 /S \"chinese.txt\" /D \"japanese.txt\" ");
    EXPECT_EQ(english[19], "morvane /B /T /S \"gb2312.txt\" /D \"big5.txt\" ");
    EXPECT_EQ(english[21], "morvane /G /S \"big5.txt\" /D \"gb2312.txt\" ");
    for (int nLang = 0; nLang < 3; ++nLang) {
        SCOPED_TRACE(kLangNames[nLang]);
        const std::vector<std::string> lines = HelpLines(g_helpTexts[nLang]);
        ASSERT_EQ(lines.size(), 22u);
        EXPECT_EQ(lines[0], "Morvane v2.2");
        EXPECT_EQ(lines[4], "");
        for (std::size_t i = 0; i < lines.size(); ++i) {
            EXPECT_EQ(lines[i].find_first_of("\r\n"), std::string::npos) << "line " << i + 1;
            // Only the three example command lines end in a blank.
            const bool bExample = i == 17 || i == 19 || i == 21;
            EXPECT_EQ(!lines[i].empty() && lines[i].back() == ' ', bExample) << "line " << i + 1;
        }
        for (std::size_t i : {17u, 19u, 21u})
            EXPECT_EQ(lines[i], english[i]);
    }
}

TEST(LangTables, HelpTextSpotChecks) {
    const struct {
        int nLang;
        std::size_t nLine;
        const char* pszText;
    } cases[] = {
        {kLangEnglish, 2, "-> Translate txt between different character set"},
        {kLangEnglish, 14, "[/S \"File name\"] Source file"},
        {kLangSimplified, 2, "→在不同字符集间转换编码"},
        {kLangSimplified, 7, "1、编码转换功能在不同字符集间转换编码(Code1-unicode-Code2)"},
        {kLangSimplified, 15, "[/D \"文件名\"] 目标文件"},
        {kLangTraditional, 3, "→檢視編輯多國語言文字"},
        {kLangTraditional, 14, "[/S \"檔名\"] 源檔案"},
        {kLangTraditional, 19, "簡體中文轉繁體中文並使用簡繁詞彙對照表"},
    };
    for (const auto& c : cases) {
        const std::vector<std::string> lines = HelpLines(g_helpTexts[c.nLang]);
        ASSERT_GE(lines.size(), c.nLine);
        EXPECT_EQ(lines[c.nLine - 1], c.pszText) << kLangNames[c.nLang] << " line " << c.nLine;
    }
}

// ---- Lookup ----

TEST_F(LangTest, StringAndMenuSpotChecks) {
    const struct {
        int nLang;
        bool bMenu;
        std::uint32_t nID;
        const char* pszText;
    } cases[] = {
        {kLangEnglish, false, IDS_IDLE_MESSAGE, "Ready"},
        {kLangEnglish, false, ID_APP_EXIT, "Quit the application\nExit"},
        {kLangEnglish, false, IDS_OVERWRITE_PROMPT, "File \"%s\" already exist, overwrite?"},
        {kLangEnglish, false, IDS_ABOUT_COPYRIGHT, "Copyright (C) 2026 The Morvane developers"},
        {kLangEnglish, true, IDS_MENU_FILE, "&File"},
        {kLangEnglish, true, ID_VIEW_CODE_TRANSLATE, "&Code Translate)"},
        {kLangSimplified, false, IDS_OVERWRITE_PROMPT, "要覆盖文件 \"%s\" 吗？"},
        {kLangSimplified, false, ID_APP_ABOUT, "显示程序信息，版本号和版权\n关于"},
        {kLangSimplified, false, ID_INDICATOR_EXT, "扩展名"},
        {kLangSimplified, false, IDS_ABOUT_COPYRIGHT, "版权所有 (C) 2026 Morvane 开发者"},
        {kLangSimplified, true, ID_APP_ABOUT, "关于 Morvane(&A)..."},
        {kLangTraditional, false, IDS_NO_MATCHING_FONT, "您的PC上沒有匹配該字元集的字型！"},
        {kLangTraditional, false, ID_VIEW_GBK_INTERNAL,
         "把字元串在GBK簡體和GBK繁體間互相轉換\nGBK編碼內簡繁轉換"},
        {kLangTraditional, false, IDS_LABEL_GB, "簡體中文(GBK)："},
        {kLangTraditional, false, IDS_ABOUT_COPYRIGHT, "版權所有 (C) 2026 Morvane 開發者"},
        {kLangTraditional, true, IDS_MENU_VIEW, "檢視(&V)"},
    };
    for (const auto& c : cases) {
        g_nLanguage = c.nLang;
        const char* pszText = c.bMenu ? GetLangMenuString(c.nID) : GetLangString(c.nID);
        ASSERT_NE(pszText, nullptr) << kLangNames[c.nLang] << " " << c.nID;
        EXPECT_STREQ(pszText, c.pszText) << kLangNames[c.nLang] << " " << c.nID;
    }
}

TEST_F(LangTest, SharedTextsAreTheSameInEveryLanguage) {
    for (int nLang = 0; nLang < 3; ++nLang) {
        g_nLanguage = nLang;
        SCOPED_TRACE(kLangNames[nLang]);
        EXPECT_STREQ(GetLangString(IDS_MAIN_TITLE), "Morvane v2.2");
        EXPECT_STREQ(GetLangString(IDS_ABOUT_VERSION), "Morvane v2.2");
        EXPECT_STREQ(GetLangString(IDS_APP_TITLE), "Morvane");
        EXPECT_STREQ(GetLangString(IDS_ABOUT_HOMEPAGE), "https://morvane.org/");
        EXPECT_STREQ(GetLangString(IDS_ABOUT_MAIL), "morvane@morvane.org");
        // The question text, never a placeholder, and one "%s" for the file name.
        const std::string prompt = GetLangString(IDS_OVERWRITE_PROMPT);
        EXPECT_NE(prompt.find("\"%s\""), std::string::npos);
        EXPECT_EQ(prompt.find('%'), prompt.rfind('%'));
    }
}

TEST_F(LangTest, IdsWithoutRowGiveNull) {
    for (int nLang = 0; nLang < 3; ++nLang) {
        g_nLanguage = nLang;
        SCOPED_TRACE(kLangNames[nLang]);
        EXPECT_EQ(GetLangString(0), nullptr);
        EXPECT_EQ(GetLangMenuString(0), nullptr);
        // The Language items have no text anywhere: they read the same in every language.
        for (std::uint32_t nID :
             {ID_LANGUAGE_SIMPLIFIED, ID_LANGUAGE_TRADITIONAL, ID_LANGUAGE_ENGLISH}) {
            EXPECT_EQ(GetLangString(nID), nullptr);
            EXPECT_EQ(GetLangMenuString(nID), nullptr);
        }
        // Strings and menus are separate tables.
        EXPECT_EQ(GetLangString(IDS_MENU_FILE), nullptr);
        EXPECT_EQ(GetLangMenuString(IDS_OPEN_FILE), nullptr);
    }
}

TEST_F(LangTest, SwitchingLanguageChangesLaterLookups) {
    g_nLanguage = kLangEnglish;
    EXPECT_STREQ(GetLangString(IDS_OPEN_FILE), "Open file");
    g_nLanguage = kLangTraditional;
    EXPECT_STREQ(GetLangString(IDS_OPEN_FILE), "開啟檔案");
    EXPECT_STREQ(GetLangMenuString(IDS_MENU_FILE), "檔案(&F)");
    g_nLanguage = kLangSimplified;
    EXPECT_STREQ(GetLangString(IDS_OPEN_FILE), "打开文件");
}

// ---- LoadStringHook ----

struct LoadResult {
    std::string text;
    int nResult;
};

LoadResult Load(std::uint32_t nID, int nSize) {
    std::vector<char> buffer(static_cast<std::size_t>(nSize) + 1, '#');
    const int nResult = LoadStringHook(nID, buffer.data(), nSize);
    EXPECT_EQ(buffer[static_cast<std::size_t>(nSize)], '#') << "wrote past the buffer";
    return {std::string(buffer.data(), std::strlen(buffer.data())), nResult};
}

TEST_F(LangTest, LoadStringHookCutsToTheBuffer) {
    const struct {
        int nLang;
        std::uint32_t nID;
        int nSize;
        const char* pszText;
        int nResult;
    } cases[] = {
        {kLangEnglish, IDS_IDLE_MESSAGE, 5, "Read", 4},
        {kLangEnglish, IDS_IDLE_MESSAGE, 6, "Ready", 5},
        {kLangEnglish, IDS_IDLE_MESSAGE, 100, "Ready", 5},
        {kLangEnglish, IDS_IDLE_MESSAGE, 1, "", 0},
        {kLangEnglish, 12345, 100, "", 0},
        {kLangEnglish, 0, 100, "", 0},
        {kLangEnglish, ID_LANGUAGE_ENGLISH, 100, "", 0},
        // Tables answer before the placeholder resources.
        {kLangEnglish, IDS_MAIN_TITLE, 100, "Morvane v2.2", 12},
        {kLangEnglish, IDS_MENU_FILE, 100, "X", 1}, // no string row: the resource placeholder
        // "就绪" is 6 bytes; the cut counts bytes, so it may split a character.
        {kLangSimplified, IDS_IDLE_MESSAGE, 4, "就", 3},
        {kLangSimplified, IDS_IDLE_MESSAGE, 5, "就\xE7", 4},
        {kLangSimplified, IDS_IDLE_MESSAGE, 7, "就绪", 6},
        {kLangTraditional, IDS_OVERWRITE_PROMPT, 100, "要覆寫檔案 \"%s\" 嗎？", 27},
    };
    for (const auto& c : cases) {
        g_nLanguage = c.nLang;
        const LoadResult result = Load(c.nID, c.nSize);
        SCOPED_TRACE(std::string(kLangNames[c.nLang]) + " id " + std::to_string(c.nID) +
                     " size " + std::to_string(c.nSize));
        EXPECT_EQ(result.text, c.pszText);
        EXPECT_EQ(result.nResult, c.nResult);
    }
}

TEST_F(LangTest, LoadStringHookIgnoresAnEmptyBuffer) {
    char c = '#';
    EXPECT_EQ(LoadStringHook(IDS_IDLE_MESSAGE, &c, 0), 0);
    EXPECT_EQ(LoadStringHook(IDS_IDLE_MESSAGE, &c, -1), 0);
    EXPECT_EQ(c, '#');
}

// A caller that grows its buffer while the result is size - 1 ends up with the whole text.
TEST_F(LangTest, LoadStringHookRetryingCallerGetsEveryTextWhole) {
    for (int nLang = 0; nLang < 3; ++nLang) {
        g_nLanguage = nLang;
        const LangTable& table = g_stringTables[nLang];
        for (int i = 0; i < table.nCount; ++i) {
            const LangEntry& entry = table.pEntries[i];
            int nSize = 2;
            LoadResult result = Load(entry.nID, nSize);
            while (result.nResult == nSize - 1) {
                nSize *= 2;
                result = Load(entry.nID, nSize);
            }
            EXPECT_EQ(result.text, entry.pszText);
            EXPECT_EQ(result.nResult, static_cast<int>(std::strlen(entry.pszText)));
        }
    }
}

// ---- Start-up language ----

TEST(LangLocale, LanguageForLocaleNames) {
    const struct {
        const char* pszLocale;
        int nLang;
    } cases[] = {
        {"zh_TW", kLangTraditional},       {"zh_TW.UTF-8", kLangTraditional},
        {"zh_TW.Big5", kLangTraditional},  {"zh_HK.UTF-8", kLangTraditional},
        {"zh_HK", kLangTraditional},       {"zh_CN", kLangSimplified},
        {"zh_CN.UTF-8", kLangSimplified},  {"zh_CN.GB18030", kLangSimplified},
        {"zh_SG.UTF-8", kLangSimplified},  {"zh_MO.UTF-8", kLangEnglish},
        {"zh", kLangEnglish},              {"zh_tw.UTF-8", kLangEnglish},
        {"en_US.UTF-8", kLangEnglish},     {"ja_JP.UTF-8", kLangEnglish},
        {"C", kLangEnglish},               {"C.UTF-8", kLangEnglish},
        {"POSIX", kLangEnglish},           {"", kLangEnglish},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LanguageForLocale(c.pszLocale), c.nLang) << '"' << c.pszLocale << '"';
}

// Sets the three locale variables for one case and puts the caller's values back after.
class LocaleEnvTest : public ::testing::Test {
protected:
    static constexpr const char* kNames[3] = {"LC_ALL", "LC_MESSAGES", "LANG"};

    void SetUp() override {
        for (int i = 0; i < 3; ++i) {
            const char* pszValue = std::getenv(kNames[i]);
            m_saved[i] = pszValue ? std::optional<std::string>(pszValue) : std::nullopt;
        }
    }
    void TearDown() override { Apply(m_saved); }

    static void Apply(const std::optional<std::string> (&values)[3]) {
        for (int i = 0; i < 3; ++i) {
            if (values[i])
                setenv(kNames[i], values[i]->c_str(), 1);
            else
                unsetenv(kNames[i]);
        }
    }

private:
    std::optional<std::string> m_saved[3];
};

TEST_F(LocaleEnvTest, FirstSetNonEmptyVariableDecides) {
    using V = std::optional<std::string>;
    const V unset = std::nullopt;
    const struct {
        V lcAll, lcMessages, lang;
        int nLang;
    } cases[] = {
        {unset, unset, unset, kLangEnglish},
        {unset, unset, V("zh_TW.UTF-8"), kLangTraditional},
        {unset, V("zh_CN.UTF-8"), V("zh_TW.UTF-8"), kLangSimplified},
        {V("zh_HK.UTF-8"), V("zh_CN.UTF-8"), V("en_US.UTF-8"), kLangTraditional},
        {V("en_US.UTF-8"), V("zh_CN.UTF-8"), V("zh_TW.UTF-8"), kLangEnglish},
        {V("C"), unset, V("zh_CN.UTF-8"), kLangEnglish},
        {V(""), V(""), V("zh_SG.UTF-8"), kLangSimplified},
        {V(""), V("zh_TW"), V("zh_CN"), kLangTraditional},
        {V(""), V(""), V(""), kLangEnglish},
    };
    for (const auto& c : cases) {
        const V values[3] = {c.lcAll, c.lcMessages, c.lang};
        Apply(values);
        EXPECT_EQ(GetDefaultLanguage(), c.nLang)
            << "LC_ALL=" << c.lcAll.value_or("(unset)")
            << " LC_MESSAGES=" << c.lcMessages.value_or("(unset)")
            << " LANG=" << c.lang.value_or("(unset)");
    }
}

} // namespace
} // namespace morvane
