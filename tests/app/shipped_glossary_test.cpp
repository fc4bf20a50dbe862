// The glossary shipped with Morvane: what batch mode does with it, and the generated file's
// own rules (every line a pair, GBK words, BIG5-clean Traditional words, longest keys first).
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <vector>

#include <gtest/gtest.h>

#include "engine/glossary.h"
#include "tests/test_text.h"

namespace morvane {
namespace {

namespace fs = std::filesystem;
using test::Big5;
using test::Gbk;

const fs::path kShippedFile = fs::path(MORVANE_SOURCE_DIR) / "engine" / "data" / "GB-BIG5.txt";

std::string ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

class ShippedGlossary : public testing::Test {
  protected:
    void SetUp() override
    {
        dir = fs::path(testing::TempDir()) /
              ("shipped_" +
               std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir);
        fs::create_directories(dir / "config");
    }
    void TearDown() override { fs::remove_all(dir); }

    // Runs a program batch conversion of source bytes as a new user would: no glossary of
    // their own, no data folder named. Returns the destination's bytes.
    std::string Convert(const std::string& program, const std::string& switches,
                        const std::string& source) const
    {
        const fs::path in = dir / "in.txt", out = dir / "out.txt";
        std::ofstream(in, std::ios::binary) << source;
        fs::remove(out);
        const std::string command = "env -u MORVANE_DATA_DIR -u DISPLAY -u WAYLAND_DISPLAY "
                                    "XDG_CONFIG_HOME='" +
                                    (dir / "config").string() + "' '" + program + "' " + switches +
                                    " /S '" + in.string() + "' /D '" + out.string() + "' 2>'" +
                                    (dir / "stderr").string() + "' </dev/null";
        const int status = std::system(command.c_str());
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << command << "\n"
                                                                   << ReadFile(dir / "stderr");
        return ReadFile(out);
    }

    fs::path dir;
};

TEST_F(ShippedGlossary, BatchModeUsesItWhenTheUserHasNone)
{
    struct Case {
        const char* switches;
        std::string source;
        std::string expected;
    };
    const Case cases[] = {
        {"/B /T", Gbk("头发干燥"), Big5("頭髮乾燥")},
        {"/G /T", Big5("頭髮乾燥"), Gbk("头发干燥")},
        {"/B /T", Gbk("我的头发很干燥。"), Big5("我的頭髮很乾燥。")},
        // The glossary's words are final: the character table would make 皇後, 公裏 and 若幹.
        {"/B /T", Gbk("皇后在公里外，若干年后"), Big5("皇后在公里外，若干年後")},
        // Without /T the character mapping alone runs, and gets the words wrong.
        {"/B", Gbk("头发干燥"), Big5("頭發幹燥")},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Convert(MORVANE_BINARY, c.switches, c.source), c.expected) << c.switches;
}

TEST_F(ShippedGlossary, AnInstalledProgramReadsItFromItsShareFolder)
{
    // A copy of the program in <prefix>/bin finds <prefix>/share/morvane/GB-BIG5.txt before
    // the source tree's file.
    const fs::path prefix = dir / "prefix";
    fs::create_directories(prefix / "bin");
    fs::create_directories(prefix / "share" / "morvane");
    fs::copy_file(MORVANE_BINARY, prefix / "bin" / "morvane");
    std::ofstream(prefix / "share" / "morvane" / "GB-BIG5.txt", std::ios::binary)
        << Gbk("[Installed]\r\n头发>頭髮\r\n干燥>乾燥\r\n软件>軟體\r\n");
    EXPECT_EQ(Convert((prefix / "bin" / "morvane").string(), "/B /T", Gbk("软件头发")),
              Big5("軟體頭髮"));
}

// One pair line of the file: its words and the separator's directions.
struct PairLine {
    std::string simplified;
    std::string separator;
    std::string traditional;
};

// Splits a glossary line at its first separator, stepping over two-byte characters.
bool SplitLine(const std::string& line, PairLine& pair)
{
    std::size_t i = 0;
    while (i < line.size() && line[i] != '<' && line[i] != '>')
        i += static_cast<unsigned char>(line[i]) >= 0x80 ? 2 : 1;
    if (i >= line.size())
        return false;
    std::size_t end = i + 1;
    if (end < line.size() && (line[end] == '<' || line[end] == '>'))
        ++end;
    pair = {line.substr(0, i), line.substr(i, end - i), line.substr(end)};
    return true;
}

// The proper prefixes of a GBK word that end on a character boundary.
std::vector<std::string> Prefixes(const std::string& word)
{
    std::vector<std::string> out;
    std::size_t i = 0;
    while (true) {
        i += static_cast<unsigned char>(word[i]) >= 0x80 ? 2 : 1;
        if (i >= word.size())
            return out;
        out.push_back(word.substr(0, i));
    }
}

bool IsGbkWord(const std::string& word)
{
    const std::string utf8 = test::Utf8(word, kCodePageGbk);
    return utf8.find('?') == std::string::npos && Gbk(utf8) == word;
}

bool IsBig5Clean(const std::string& gbkWord)
{
    const std::string utf8 = test::Utf8(gbkWord, kCodePageGbk);
    return test::Utf8(Big5(utf8), kCodePageBig5) == utf8;
}

TEST(ShippedGlossaryFile, EveryLineIsAUsablePairInLongestFirstOrder)
{
    const std::string file = ReadFile(kShippedFile);
    ASSERT_FALSE(file.empty()) << kShippedFile;

    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < file.size()) {
        const std::size_t end = file.find("\r\n", start);
        ASSERT_NE(end, std::string::npos) << "the last line lacks its CR LF";
        lines.push_back(file.substr(start, end - start));
        start = end + 2;
    }
    ASSERT_GT(lines.size(), 1000u);

    // The heading says what the file is, in bytes that read the same in any code page.
    ASSERT_EQ(lines[0].front(), '[');
    for (unsigned char c : lines[0])
        EXPECT_LT(c, 0x80) << lines[0];

    // Per direction, the line of each key; for ">" the key is the Simplified word.
    std::map<std::string, std::size_t> keyLine[2];
    for (std::size_t n = 1; n < lines.size(); ++n) {
        const std::string& line = lines[n];
        PairLine pair;
        ASSERT_TRUE(SplitLine(line, pair)) << "line " << n + 1;
        ASSERT_TRUE(pair.separator == ">" || pair.separator == "<" || pair.separator == "<>")
            << "line " << n + 1;
        EXPECT_EQ(pair.traditional.find_first_of("<>\r\n"), std::string::npos) << "line " << n + 1;
        ASSERT_FALSE(pair.simplified.empty() || pair.traditional.empty()) << "line " << n + 1;
        EXPECT_TRUE(IsGbkWord(pair.simplified) && IsGbkWord(pair.traditional)) << "line " << n + 1;
        // A key must start with a two-byte character, or it never matches.
        EXPECT_GE(static_cast<unsigned char>(pair.simplified[0]), 0x80) << "line " << n + 1;
        EXPECT_GE(static_cast<unsigned char>(pair.traditional[0]), 0x80) << "line " << n + 1;
        EXPECT_TRUE(IsBig5Clean(pair.traditional))
            << "line " << n + 1 << ": " << test::Utf8(pair.traditional, kCodePageGbk);
        if (pair.separator.find('>') != std::string::npos) {
            EXPECT_TRUE(keyLine[0].emplace(pair.simplified, n).second)
                << "second > pair for line " << n + 1;
        }
        if (pair.separator.find('<') != std::string::npos) {
            EXPECT_TRUE(keyLine[1].emplace(pair.traditional, n).second)
                << "second < pair for line " << n + 1;
        }
    }

    // The list is the file reversed, so a key must come after every shorter key that starts
    // it: then the first match in list order is the longest.
    for (const auto& keys : keyLine) {
        for (const auto& [key, line] : keys) {
            for (const std::string& prefix : Prefixes(key)) {
                const auto shorter = keys.find(prefix);
                if (shorter != keys.end()) {
                    EXPECT_LT(shorter->second, line) << test::Utf8(prefix, kCodePageGbk)
                                                     << " after " << test::Utf8(key, kCodePageGbk);
                }
            }
        }
    }

    // The program reads the same number of pairs.
    CGlossary glossary;
    glossary.LoadText(file);
    EXPECT_EQ(glossary.Size(), lines.size() - 1);
}

} // namespace
} // namespace morvane
