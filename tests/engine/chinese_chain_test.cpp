// The chains: where the glossary runs against the mapping, and the GBK/BIG5 step.
#include "engine/chinese_chain.h"

#include <gtest/gtest.h>

#include "engine/glossary.h"
#include "tests/test_text.h"

namespace morvane {
namespace {

using test::Big5;
using test::Gbk;

class ChineseChain : public testing::Test {
  protected:
    void SetUp() override { glossary.LoadText(Gbk("软件<>軟體\r\n")); }
    CGlossary glossary;
};

TEST_F(ChineseChain, GlossaryWinsOverTheMappingTowardsTraditional)
{
    Bytes text = Gbk("软件");
    GbToBig5(text, glossary, true);
    EXPECT_EQ(text, Big5("軟體"));

    text = Gbk("软件");
    GbToBig5(text, glossary, false);
    EXPECT_EQ(text, Big5("軟件"));

    text = Gbk("软件");
    SimplifiedToTraditional(text, glossary, true);
    EXPECT_EQ(text, Gbk("軟體"));
}

TEST_F(ChineseChain, GlossaryFirstSeesTheTraditionalWord)
{
    // Batch mode runs the glossary on the Traditional text; the views run it after the
    // mapping, when 軟體 has already become 软体.
    Bytes text = Big5("軟體");
    Big5ToGb(text, glossary, true, /*glossaryFirst=*/true);
    EXPECT_EQ(text, Gbk("软件"));

    text = Big5("軟體");
    Big5ToGb(text, glossary, true, /*glossaryFirst=*/false);
    EXPECT_EQ(text, Gbk("软体"));

    text = Gbk("軟體");
    TraditionalToSimplified(text, glossary, true, false);
    EXPECT_EQ(text, Gbk("软体"));
}

TEST_F(ChineseChain, TextWithoutChineseIsUnchangedInEveryChain)
{
    const Bytes plain = std::string("Hello, world!\r\n1 + 1 = 2\0tail", 29);
    for (bool useGlossary : {false, true}) {
        Bytes text = plain;
        GbToBig5(text, glossary, useGlossary);
        EXPECT_EQ(text, plain);
        Big5ToGb(text, glossary, useGlossary, true);
        EXPECT_EQ(text, plain);
        SimplifiedToTraditional(text, glossary, useGlossary);
        EXPECT_EQ(text, plain);
        TraditionalToSimplified(text, glossary, useGlossary, false);
        EXPECT_EQ(text, plain);
    }
}

TEST_F(ChineseChain, CharacterMappingWithoutGlossary)
{
    Bytes text = Gbk("头发干燥");
    SimplifiedToTraditional(text, glossary, false);
    const std::string traditional = test::Utf8(text, 936);
    EXPECT_EQ(traditional.substr(0, 3), "頭");
    TraditionalToSimplified(text, glossary, false, true);
    EXPECT_EQ(test::Utf8(text, 936), "头发干燥");
}

TEST(ChineseChainGlossary, ReplacementsAreNotMappedAgain)
{
    // 里, 后 and 乾 have other forms in the character table; the glossary's words keep them.
    CGlossary glossary;
    glossary.LoadText(Gbk("公里>公里\r\n皇后>皇后\r\n乾隆<乾隆\r\n"));
    struct Case {
        const char* what;
        void (*convert)(Bytes&, const CGlossary&);
        std::string source;
        std::string expected;
    };
    const Case cases[] = {
        {"SimplifiedToTraditional",
         [](Bytes& t, const CGlossary& g) { SimplifiedToTraditional(t, g, true); },
         Gbk("公里外的皇后里"), Gbk("公里外的皇后裏")},
        {"GbToBig5", [](Bytes& t, const CGlossary& g) { GbToBig5(t, g, true); },
         Gbk("公里外的皇后里"), Big5("公里外的皇后裏")},
        {"TraditionalToSimplified, glossary first",
         [](Bytes& t, const CGlossary& g) { TraditionalToSimplified(t, g, true, true); },
         Gbk("乾隆乾燥"), Gbk("乾隆干燥")},
        {"Big5ToGb, glossary first",
         [](Bytes& t, const CGlossary& g) { Big5ToGb(t, g, true, true); }, Big5("乾隆乾燥"),
         Gbk("乾隆干燥")},
        // Run last, the glossary sees 干隆 and has nothing to do.
        {"TraditionalToSimplified, glossary last",
         [](Bytes& t, const CGlossary& g) { TraditionalToSimplified(t, g, true, false); },
         Gbk("乾隆乾燥"), Gbk("干隆干燥")},
    };
    for (const Case& c : cases) {
        Bytes text = c.source;
        c.convert(text, glossary);
        EXPECT_EQ(test::Hex(text), test::Hex(c.expected)) << c.what;
    }
}

TEST(ChineseChainGlossary, ALoneLeadByteAtAReplacementsEdgeIsNotPaired)
{
    // The replacement's last byte is a lead byte: it is not paired with the next character,
    // which is mapped on its own; and a lead byte just before a replacement stays as it is.
    CGlossary glossary;
    glossary.Add(Gbk("中"), "\xD6", GLOSSARY_TO_TRADITIONAL);
    glossary.Add(Gbk("人"), "X", GLOSSARY_TO_TRADITIONAL);
    Bytes text = Gbk("中发");
    SimplifiedToTraditional(text, glossary, true);
    EXPECT_EQ(test::Hex(text), test::Hex("\xD6" + Gbk("發")));

    // 0x80 goes with the next byte for the glossary but alone for the mapping, whose pair
    // from 0xD6 then reaches into 人, where the glossary matches.
    text = "\x80\xD6" + Gbk("人发");
    SimplifiedToTraditional(text, glossary, true);
    EXPECT_EQ(test::Hex(text), test::Hex("\x80\xD6X" + Gbk("發")));
}

TEST_F(ChineseChain, GlossaryGrowthIsNeverCut)
{
    std::string longWord;
    for (int i = 0; i < 5000; ++i)
        longWord += "軟體";
    CGlossary growing;
    growing.Add(Gbk("软"), Gbk(longWord), GLOSSARY_TO_TRADITIONAL);
    Bytes text = Gbk("软软");
    GbToBig5(text, growing, true);
    EXPECT_EQ(text, Big5(longWord + longWord));
}

} // namespace
} // namespace morvane
