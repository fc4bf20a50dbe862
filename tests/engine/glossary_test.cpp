// Glossary: the file format, first match in list order, and replacement at two-byte characters.
#include "engine/glossary.h"

#include <cstdlib>
#include <fstream>
#include <random>

#include <gtest/gtest.h>

#include "engine/chinese_chain.h"
#include "tests/test_text.h"

namespace morvane {
namespace {

using test::Gbk;

// The sample glossary: a heading, overlapping pairs, a single-byte key and blanks around
// a separator, each line ended by CR LF.
std::string SampleFile()
{
    return Gbk("[Sample]\r\n"
               "软件<>軟體\r\n"
               "软件>軟件\r\n"
               "中国>中國\r\n"
               "中>X\r\n"
               "ABC>XYZ\r\n"
               "软件 <> 軟體\r\n");
}

class SampleGlossary : public testing::Test {
  protected:
    void SetUp() override { glossary.LoadText(SampleFile()); }

    std::string ToTraditional(const std::string& utf8) const
    {
        Bytes out;
        glossary.ApplyToTraditional(Gbk(utf8), out);
        return test::Utf8(out, kCodePageGbk);
    }
    std::string ToSimplified(const std::string& utf8) const
    {
        Bytes out;
        glossary.ApplyToSimplified(Gbk(utf8), out);
        return test::Utf8(out, kCodePageGbk);
    }

    CGlossary glossary;
};

TEST_F(SampleGlossary, LaterLineWinsWhenSeveralKeysMatch)
{
    EXPECT_EQ(ToTraditional("软件"), "軟件");
}

TEST_F(SampleGlossary, OnlyPairsOfTheRightDirectionMatch)
{
    EXPECT_EQ(ToSimplified("軟體"), "软件");
    EXPECT_EQ(ToSimplified("軟件"), "軟件");
}

TEST_F(SampleGlossary, ShorterKeyLaterInTheFileWinsOverALongerOne)
{
    EXPECT_EQ(ToTraditional("中国"), "X国");
}

TEST_F(SampleGlossary, KeyStartingWithASingleByteCharacterNeverMatches)
{
    EXPECT_EQ(ToTraditional("ABC"), "ABC");
}

TEST_F(SampleGlossary, BlanksAroundTheSeparatorBelongToTheWords)
{
    EXPECT_EQ(ToTraditional("软件 好"), " 軟體好");
    EXPECT_EQ(ToTraditional("软件好"), "軟件好");
    EXPECT_EQ(ToSimplified(" 軟體"), " 软件"); // the key " 軟體" starts with a blank
}

TEST_F(SampleGlossary, HoldsOnePairPerUsableLineInReverseFileOrder)
{
    ASSERT_EQ(glossary.Size(), 6u);
    EXPECT_EQ(test::Utf8(glossary.At(0).simplified, 936), "软件 ");
    EXPECT_EQ(glossary.At(0).directions, GLOSSARY_TO_SIMPLIFIED | GLOSSARY_TO_TRADITIONAL);
    EXPECT_EQ(test::Utf8(glossary.At(5).traditional, 936), "軟體");
}

TEST_F(SampleGlossary, ClearEmptiesAndTextPassesUnchanged)
{
    glossary.Clear();
    EXPECT_EQ(glossary.Size(), 0u);
    EXPECT_EQ(ToTraditional("中国软件"), "中国软件");
}

struct LineCase {
    const char* name;
    const char* fileUtf8;
    const char* textUtf8;
    bool toTraditional;
    const char* expectedUtf8;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const LineCase& c, std::ostream* os) { *os << c.name; }

const LineCase kLines[] = {
    {"HeadingAddsNothing", "[软件<>軟體]\r\n", "软件", true, "软件"},
    {"LineWithoutSeparatorAddsNothing", "软件 軟體\r\n", "软件", true, "软件"},
    {"EmptyTraditionalWordDeletes", "软件>\r\n", "软件好", true, "好"},
    {"DoubleSeparatorsCountOnce", "软件>>軟體\r\n", "软件", true, "軟體"},
    {"ReversedBothWaysSeparator", "软件><軟體\r\n", "軟體", false, "软件"},
    {"LineFeedAloneEndsALine", "中>中\n国>國\n", "中国", true, "中國"},
    {"NoLineEndAtTheEnd", "国>國", "国", true, "國"},
    // Each further separator makes one more pair of the line's first word: the later
    // pair wins towards Traditional, and each word maps back.
    {"SeveralSeparatorsMakeSeveralPairs", "中>甲>乙\r\n", "中", true, "乙"},
    {"SeveralSeparatorsMapEachWordBack", "中<甲<乙\r\n", "甲乙", false, "中中"},
    // A pair with an empty key would match everywhere: it is left out for that way.
    {"EmptySimplifiedKeyIsLeftOut", ">甲\r\n", "中国", true, "中国"},
    {"EmptyKeyKeepsTheOtherWay", "<>甲\r\n", "甲乙", false, "乙"},
    {"EmptyTraditionalKeyIsLeftOut", "中<\r\n", "中国", false, "中国"},
    {"KeyLongerThanTheRestDoesNotMatch", "中国人>X\r\n", "中国", true, "中国"},
    {"ReplacementIsNotScannedAgain", "中>中国\r\n国>X\r\n", "中", true, "中国"},
};

class GlossaryLine : public testing::TestWithParam<LineCase> {};

TEST_P(GlossaryLine, Converts)
{
    const LineCase& c = GetParam();
    CGlossary glossary;
    glossary.LoadText(Gbk(c.fileUtf8));
    Bytes out;
    if (c.toTraditional)
        glossary.ApplyToTraditional(Gbk(c.textUtf8), out);
    else
        glossary.ApplyToSimplified(Gbk(c.textUtf8), out);
    EXPECT_EQ(test::Utf8(out, 936), c.expectedUtf8);
}

INSTANTIATE_TEST_SUITE_P(Lines, GlossaryLine, testing::ValuesIn(kLines),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(Glossary, LoneLeadByteAtTheEndIsCopiedNotReadPast)
{
    CGlossary glossary;
    glossary.LoadText(Gbk("中>X\r\n") + "\xd6"); // a last line that is one lead byte
    Bytes out;
    glossary.ApplyToTraditional(Gbk("中") + "\xd6", out);
    EXPECT_EQ(out, "X\xd6");
}

TEST(Glossary, LeadByteCutOffByTheLineEndStaysInTheWord)
{
    // Not swallowing the line end keeps CR and LF out of the word, with either line ending.
    for (const char* lineEnd : {"\r\n", "\n"}) {
        CGlossary glossary;
        glossary.LoadText(Gbk("中>国") + "\xd6" + lineEnd + Gbk("人>X") + lineEnd);
        ASSERT_EQ(glossary.Size(), 2u) << test::Hex(lineEnd);
        EXPECT_EQ(glossary.At(1).traditional, Gbk("国") + "\xd6");
    }
}

TEST(Glossary, LinesOfAnyLengthAreReadWhole)
{
    std::string longWord;
    for (int i = 0; i < 200000; ++i)
        longWord += Gbk("长");
    CGlossary glossary;
    glossary.LoadText(Gbk("短>") + longWord + "\r\n" + Gbk("中>X\r\n"));
    ASSERT_EQ(glossary.Size(), 2u);
    EXPECT_EQ(glossary.At(1).traditional, longWord);
    Bytes out;
    glossary.ApplyToTraditional(Gbk("短中"), out);
    EXPECT_EQ(out, longWord + "X");
}

TEST(Glossary, LoadFileReportsAMissingFileAndKeepsTheList)
{
    CGlossary glossary;
    glossary.Add(Gbk("中"), "X", GLOSSARY_TO_TRADITIONAL);
    std::string error;
    EXPECT_FALSE(glossary.LoadFile("/nonexistent/GB-BIG5.txt", &error));
    EXPECT_NE(error.find("/nonexistent/GB-BIG5.txt"), std::string::npos);
    EXPECT_EQ(glossary.Size(), 1u);
}

TEST(Glossary, LoadFileRefusesDevicesAndFolders)
{
    for (const char* path : {"/dev/zero", "/tmp"}) {
        CGlossary glossary;
        std::string error;
        EXPECT_FALSE(glossary.LoadFile(path, &error)) << path;
        EXPECT_NE(error.find(path), std::string::npos);
        EXPECT_EQ(glossary.Size(), 0u);
    }
}

TEST(Glossary, LoadAddsWithoutClearingAndReadsTheConfigFolder)
{
    const std::string dir = testing::TempDir() + "glossary_config";
    std::system(("mkdir -p '" + dir + "/Morvane'").c_str());
    std::ofstream(dir + "/Morvane/GB-BIG5.txt", std::ios::binary) << Gbk("国>國\r\n");
    setenv("XDG_CONFIG_HOME", dir.c_str(), 1);
    EXPECT_EQ(GlossaryPath(), dir + "/Morvane/GB-BIG5.txt");
    CGlossary glossary;
    glossary.Add(Gbk("中"), "X", GLOSSARY_TO_TRADITIONAL);
    EXPECT_TRUE(glossary.Load());
    EXPECT_EQ(glossary.Size(), 2u);
    unsetenv("XDG_CONFIG_HOME");
}

// The plain walk of the whole list, as the matching rule is defined: the index must give
// exactly its answer.
const GlossaryEntry* WalkList(const CGlossary& glossary, std::string_view text, std::size_t pos,
                              std::uint32_t direction)
{
    for (std::size_t i = 0; i < glossary.Size(); ++i) {
        const GlossaryEntry& entry = glossary.At(i);
        if ((entry.directions & direction) == 0)
            continue;
        const std::string& key =
            direction == GLOSSARY_TO_TRADITIONAL ? entry.simplified : entry.traditional;
        if (text.substr(pos).starts_with(key))
            return &entry;
    }
    return nullptr;
}

TEST(Glossary, FindGivesTheFirstMatchOfThePlainListWalk)
{
    // Few distinct characters, so keys overlap and share prefixes a lot.
    const std::string alphabet[] = {Gbk("中"), Gbk("国"), Gbk("人"), "a", "\xd6"};
    std::mt19937 random(20261211);
    auto word = [&](int maxChars) {
        std::string w;
        const int n = 1 + static_cast<int>(random() % static_cast<unsigned>(maxChars));
        for (int i = 0; i < n; ++i)
            w += alphabet[random() % 5];
        return w;
    };
    for (int round = 0; round < 200; ++round) {
        CGlossary glossary;
        const int pairs = 1 + static_cast<int>(random() % 40);
        for (int i = 0; i < pairs; ++i)
            glossary.Add(word(3), word(3), 1 + random() % 3);
        const std::string text = word(30);
        for (std::uint32_t direction : {GLOSSARY_TO_SIMPLIFIED, GLOSSARY_TO_TRADITIONAL})
            for (std::size_t pos = 0; pos < text.size(); ++pos)
                ASSERT_EQ(glossary.Find(text, pos, direction),
                          WalkList(glossary, text, pos, direction))
                    << "round " << round << " at " << pos;
    }
}

// Replacement as defined on the plain list walk: ASCII bytes copied, else the first match in
// list order, else one character.
Bytes ApplyByWalkingTheList(const CGlossary& glossary, std::string_view text,
                            std::uint32_t direction)
{
    Bytes out;
    std::size_t i = 0;
    while (i < text.size()) {
        if (static_cast<unsigned char>(text[i]) < 0x80) {
            out += text[i++];
            continue;
        }
        if (const GlossaryEntry* entry = WalkList(glossary, text, i, direction)) {
            const bool toTraditional = direction == GLOSSARY_TO_TRADITIONAL;
            out += toTraditional ? entry->traditional : entry->simplified;
            i += (toTraditional ? entry->simplified : entry->traditional).size();
            continue;
        }
        const std::size_t step = i + 1 < text.size() ? 2 : 1;
        out.append(text.substr(i, step));
        i += step;
    }
    return out;
}

TEST(Glossary, ApplyGivesThePlainListWalksText)
{
    // Keys share prefixes, repeat, contain ASCII and lone lead bytes, and are long and short.
    const std::string alphabet[] = {Gbk("中"), Gbk("国"), Gbk("人"), "a", "\xd6", "\x81\x40"};
    std::mt19937 random(77);
    auto word = [&](int maxPieces) {
        std::string w;
        const int n = 1 + static_cast<int>(random() % static_cast<unsigned>(maxPieces));
        for (int i = 0; i < n; ++i)
            w += alphabet[random() % 6];
        return w;
    };
    for (int round = 0; round < 300; ++round) {
        CGlossary glossary;
        const int pairs = static_cast<int>(random() % 60);
        for (int i = 0; i < pairs; ++i)
            glossary.Add(word(round % 2 == 0 ? 3 : 8), word(3), 1 + random() % 3);
        const std::string text = word(60);
        for (std::uint32_t direction : {GLOSSARY_TO_SIMPLIFIED, GLOSSARY_TO_TRADITIONAL}) {
            Bytes indexed;
            if (direction == GLOSSARY_TO_TRADITIONAL)
                glossary.ApplyToTraditional(text, indexed);
            else
                glossary.ApplyToSimplified(text, indexed);
            const Bytes walked = ApplyByWalkingTheList(glossary, text, direction);
            ASSERT_EQ(test::Hex(indexed), test::Hex(walked)) << "round " << round;
            // The reference chains' own walk, which the fuzz target checks against too.
            Bytes segmented;
            for (const GlossarySegment& segment : GlossarySegments(glossary, text, direction))
                segmented += segment.bytes;
            ASSERT_EQ(test::Hex(segmented), test::Hex(walked)) << "round " << round;
        }
    }
}

TEST(Glossary, ApplyPrefixStopsOnlyWhereAKeyCouldRunOn)
{
    CGlossary glossary;
    glossary.Add(Gbk("中国人"), "X", GLOSSARY_TO_TRADITIONAL);
    const std::string text = "ab" + Gbk("中国");
    Bytes out;
    // Six bytes of key, four of text after the ASCII: the key may still come.
    EXPECT_EQ(glossary.ApplyPrefix(text, false, GLOSSARY_TO_TRADITIONAL, out), 2u);
    EXPECT_EQ(out, "ab");
    out.clear();
    EXPECT_EQ(glossary.ApplyPrefix(text, true, GLOSSARY_TO_TRADITIONAL, out), text.size());
    EXPECT_EQ(out, text);
}

} // namespace
} // namespace morvane
