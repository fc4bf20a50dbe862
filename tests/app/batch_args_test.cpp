// The batch command line's grammar: switches, numbers, quoted names, and what fails.
#include "app/batch_args.h"

#include <gtest/gtest.h>

#include "app/batch.h"

namespace morvane {
namespace {

struct ArgsCase {
    const char* name;
    const char* line;
    bool ok;
    BatchMode mode;
    int source;
    int destination;
    bool glossary;
    const char* sourceName;
    const char* destinationName;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const ArgsCase& c, std::ostream* os) { *os << c.name; }

constexpr auto X = BatchMode::CodePage;
constexpr auto B = BatchMode::GbToBig5;
constexpr auto G = BatchMode::Big5ToGb;
constexpr auto None = BatchMode::None;

const ArgsCase kCases[] = {
    {"Plain", R"(/X 936 932 /S "chinese.txt" /D "japanese.txt")", true, X, 936, 932, false,
     "chinese.txt", "japanese.txt"},
    {"HexAndLowerCase", R"(/x 0x3A8 0x3a4 /s "chinese.txt" /d "japanese.txt")", true, X, 936,
     932, false, "chinese.txt", "japanese.txt"},
    {"NoBlanksBetweenSwitches", R"(/B/T/S"gb2312.txt"/D"big5.txt")", true, B, 0, 0, true,
     "gb2312.txt", "big5.txt"},
    {"GlossaryTwice", R"(/T /T /G /S "a" /D "b")", true, G, 0, 0, true, "a", "b"},
    {"GlossaryWithCodePages", R"(/X 1 2 /T /S "a" /D "b")", true, X, 1, 2, true, "a", "b"},
    {"NamesWithBlanksAndSlashes", R"(/B /S "/tmp/my /b file" /D "out")", true, B, 0, 0, false,
     "/tmp/my /b file", "out"},
    {"LaterNameReplaces", R"(/B /S "a" /S "b" /D "c")", true, B, 0, 0, false, "b", "c"},
    {"UnquotedLaterNameKeepsTheFirst", R"(/B /S "a" /S b /D "c")", true, B, 0, 0, false, "a",
     "c"},
    {"OtherWordsAreSkipped", R"(please /B now /S "a" /D "b" thanks)", true, B, 0, 0, false,
     "a", "b"},
    {"TrailingBlanks", R"(/G /S "a" /D "b"   )", true, G, 0, 0, false, "a", "b"},
    {"HugeNumberWrapsIn32Bits", R"(/X 4294968232 950 /S "a" /D "b")", true, X, 936, 950,
     false, "a", "b"},
    // Failures.
    {"Empty", "", false, None, 0, 0, false, "", ""},
    {"OnlyAFileName", "notes.txt", false, None, 0, 0, false, "", ""},
    {"UnknownSwitch", R"(/B /Q /S "a" /D "b")", false, None, 0, 0, false, "", ""},
    {"SlashAtTheEnd", R"(/B /S "a" /D "b" /)", false, None, 0, 0, false, "", ""},
    {"TwoModes", R"(/B /G /S "a" /D "b")", false, None, 0, 0, false, "", ""},
    {"CodePagesThenMode", R"(/X 936 932 /B /S "a" /D "b")", false, None, 0, 0, false, "", ""},
    {"CommaBetweenCodePages", R"(/X 936,932 /S "a" /D "b")", false, None, 0, 0, false, "", ""},
    {"NegativeCodePage", R"(/X -936 932 /S "a" /D "b")", false, None, 0, 0, false, "", ""},
    {"UnquotedSourceIsIgnored", R"(/S gb2312.txt /D "big5.txt" /B)", false, None, 0, 0, false,
     "", ""},
    {"EmptyQuotes", R"(/B /S "" /D "b")", false, None, 0, 0, false, "", ""},
    {"UnclosedQuoteEmptiesTheName", R"(/B /S "a" /D "b" /S "c)", false, None, 0, 0, false, "",
     ""},
    {"NoDestination", R"(/B /S "a")", false, None, 0, 0, false, "", ""},
    {"StrayPathReadsAsSwitch", R"(/B /S "a" /D "b" dir/x)", false, None, 0, 0, false, "", ""},
};

class CommandLine : public testing::TestWithParam<ArgsCase> {};

TEST_P(CommandLine, Parses)
{
    const ArgsCase& c = GetParam();
    const ParsedCommandLine parsed = ParseCommandLine(c.line);
    ASSERT_EQ(parsed.ok, c.ok) << parsed.error;
    if (!c.ok) {
        EXPECT_FALSE(parsed.error.empty());
        return;
    }
    EXPECT_EQ(parsed.arguments.mode, c.mode);
    EXPECT_EQ(parsed.arguments.sourceCodePage, c.source);
    EXPECT_EQ(parsed.arguments.destinationCodePage, c.destination);
    EXPECT_EQ(parsed.arguments.useGlossary, c.glossary);
    EXPECT_EQ(parsed.arguments.sourceName, c.sourceName);
    EXPECT_EQ(parsed.arguments.destinationName, c.destinationName);
}

INSTANTIATE_TEST_SUITE_P(Cases, CommandLine, testing::ValuesIn(kCases),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(CommandLine, ErrorsNameTheSwitch)
{
    EXPECT_NE(ParseCommandLine(R"(/B /Q /S "a" /D "b")").error.find("/Q"), std::string::npos);
    EXPECT_NE(ParseCommandLine(R"(/B /G /S "a" /D "b")").error.find("/G"), std::string::npos);
    EXPECT_NE(ParseCommandLine(R"(/B /D "b")").error.find("/S"), std::string::npos);
}

TEST(ParseNumberArg, StopsWhereTheDigitsEnd)
{
    std::int32_t value = -1;
    EXPECT_EQ(ParseNumberArg("  0x", 0, value), 4u);
    EXPECT_EQ(value, 0);
    EXPECT_EQ(ParseNumberArg("  abc", 0, value), 2u);
    EXPECT_EQ(value, 0);
    EXPECT_EQ(ParseNumberArg("\t1", 0, value), 0u); // a tab is not a blank
}

TEST(ParseQuotedArg, LeavesTheNameWithoutAnOpeningQuote)
{
    std::string name = "kept";
    EXPECT_EQ(ParseQuotedArg("  x", 0, name), 2u);
    EXPECT_EQ(name, "kept");
    EXPECT_EQ(ParseQuotedArg(R"( "open)", 0, name), 6u);
    EXPECT_EQ(name, "");
}

struct JoinCase {
    std::vector<std::string> words;
    const char* joined;
};

TEST(JoinArguments, QuotesNamesThatFollowSourceAndDestinationSwitches)
{
    const JoinCase cases[] = {
        {{"/B", "/S", "/tmp/my file.txt", "/D", "out.txt"},
         R"(/B /S "/tmp/my file.txt" /D "out.txt")"},
        {{"/B/T/S\"gb2312.txt\"/D\"big5.txt\""}, R"(/B/T/S"gb2312.txt"/D"big5.txt")"},
        {{"/b", "/s", "\"already\"", "/d", "x"}, R"(/b /s "already" /d "x")"},
        {{"/X", "936", "950", "/T/s", "in"}, R"(/X 936 950 /T/s "in")"},
        {{"notes.txt"}, "notes.txt"},
    };
    for (const JoinCase& c : cases)
        EXPECT_EQ(JoinArguments(c.words), c.joined);
}

TEST(UsesGlossary, OnlyAChineseConversionWithTheGlossarySwitchLoadsIt)
{
    EXPECT_TRUE(UsesGlossary(R"(/B /T /S "a" /D "b")"));
    EXPECT_TRUE(UsesGlossary(R"(/G/t/S"a"/D"b")"));
    EXPECT_FALSE(UsesGlossary(R"(/B /S "a" /D "b")"));
    EXPECT_FALSE(UsesGlossary(R"(/X 936 950 /T /S "a" /D "b")")); // the code page step has none
    EXPECT_FALSE(UsesGlossary(R"(/B /T /Q)"));                     // not a command line
}

} // namespace
} // namespace morvane
