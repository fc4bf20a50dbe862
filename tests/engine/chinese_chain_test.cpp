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
