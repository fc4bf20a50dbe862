// The fused Chinese chains against running their steps one after another on plain iconv, on
// every pair in context and on random GBK and BIG5 soup with invalid bytes.
#include "engine/chinese_chain.h"

#include <random>
#include <string>

#include <gtest/gtest.h>

#include "engine/chinese_map.h"
#include "engine/codepage_iconv.h"
#include "engine/glossary.h"
#include "tests/test_text.h"

namespace morvane {
namespace {

using test::Hex;

// The chains as they are defined: one step after another, iconv for the code page step.
Bytes StepByStepGbToBig5(const Bytes& text) {
    Bytes mapped;
    MapToTraditional(text, mapped);
    ConvertCodePageWithIconv(mapped, 936, 950);
    return mapped;
}

Bytes StepByStepBig5ToGb(const Bytes& text) {
    Bytes gbk = text;
    ConvertCodePageWithIconv(gbk, 950, 936);
    Bytes mapped;
    MapToSimplified(gbk, mapped);
    return mapped;
}

Bytes Fused(const Bytes& text, bool toBig5) {
    static const CGlossary none;
    Bytes out = text;
    if (toBig5)
        GbToBig5(out, none, false);
    else
        Big5ToGb(out, none, false, true);
    return out;
}

void ExpectSame(const Bytes& text, bool toBig5, const std::string& what) {
    const Bytes fused = Fused(text, toBig5);
    const Bytes reference = toBig5 ? StepByStepGbToBig5(text) : StepByStepBig5ToGb(text);
    if (fused == reference)
        return;
    std::size_t at = 0;
    while (at < fused.size() && at < reference.size() && fused[at] == reference[at])
        ++at;
    const std::size_t from = at < 16 ? 0 : at - 16;
    FAIL() << what << (toBig5 ? " GBK->BIG5" : " BIG5->GBK") << " differs at " << at
           << "\n fused: " << Hex(fused.substr(from, 32))
           << "\n steps: " << Hex(reference.substr(from, 32));
}

std::string Byte(unsigned b) {
    return std::string(1, static_cast<char>(b));
}

TEST(FusedChain, EveryPairInContextMatchesTheSteps) {
    for (bool toBig5 : {true, false}) {
        std::string beforeAscii, backToBack, betweenCharacters;
        for (unsigned lead = 0x80; lead < 256; ++lead) {
            for (unsigned next = 0; next < 256; ++next) {
                const std::string pair = Byte(lead) + Byte(next);
                beforeAscii += pair + "A";
                backToBack += pair;
                betweenCharacters += "\xD6\xD0" + pair + "\xA4\xA4";
            }
        }
        ExpectSame(beforeAscii, toBig5, "before ASCII");
        ExpectSame(backToBack, toBig5, "back to back");
        ExpectSame(betweenCharacters, toBig5, "between characters");
    }
}

TEST(FusedChain, EveryByteAndPairAtTheEndMatchesTheSteps) {
    for (bool toBig5 : {true, false}) {
        for (unsigned b = 0; b < 256; ++b) {
            ExpectSame(Byte(b), toBig5, "one byte");
            ExpectSame("\xD6\xD0" + Byte(b), toBig5, "last byte");
            for (unsigned next = 0; next < 256; next += 5)
                ExpectSame("A" + Byte(b) + Byte(next), toBig5, "last pair");
        }
    }
}

TEST(FusedChain, RandomSoupMatchesTheSteps) {
    std::mt19937 random(4242);
    for (bool toBig5 : {true, false}) {
        for (int round = 0; round < 300; ++round) {
            // Mostly lead-range bytes, so that rejected pairs shift the decoder often.
            std::string soup;
            const std::size_t size = random() % 3000;
            for (std::size_t i = 0; i < size; ++i) {
                const unsigned r = random();
                soup += Byte(r % 4 == 0 ? (r >> 8) % 256 : 0x81 + (r >> 8) % 0x7F);
            }
            ExpectSame(soup, toBig5, "soup round " + std::to_string(round));
        }
    }
}

TEST(FusedChain, EveryMappedCharacterMatchesTheSteps) {
    // Every GBK character once, so each entry of the mapping goes through the fused tables.
    std::string everything;
    for (unsigned lead = 0x81; lead < 0xFF; ++lead)
        for (unsigned next = 0x40; next < 0xFF; ++next)
            everything += Byte(lead) + Byte(next);
    ExpectSame(everything, true, "every GBK character");
    Bytes big5 = everything;
    ConvertCodePageWithIconv(big5, 936, 950);
    ExpectSame(big5, false, "every GBK character in BIG5");
}

TEST(FusedChain, WithTheGlossaryMatchesTheSteps) {
    CGlossary glossary;
    glossary.LoadText(test::Gbk("软件<>軟體\r\n中国>中國\r\n") + "\xD6\xD0\x81>\x81\x30\r\n");
    std::mt19937 random(7);
    const std::string pieces[] = {test::Gbk("软件"), test::Gbk("中国"), "\xD6\xD0\x81", "\x81", "A",
                                  test::Big5("軟體")};
    for (int round = 0; round < 200; ++round) {
        std::string text;
        for (int i = 0; i < 20; ++i)
            text += pieces[random() % 6];
        Bytes fused = text;
        GbToBig5(fused, glossary, true);
        Bytes steps = text;
        plain::GbToBig5(steps, glossary, true);
        ASSERT_EQ(Hex(fused), Hex(steps)) << round;

        fused = text;
        Big5ToGb(fused, glossary, true, false);
        Bytes after;
        glossary.ApplyToSimplified(StepByStepBig5ToGb(text), after);
        ASSERT_EQ(Hex(fused), Hex(after)) << round;
    }
}

// Words from characters the mapping changes and keeps, lone lead bytes, 0x80, 0xFF and ASCII.
std::string RandomWord(std::mt19937& random, int pieces) {
    static const std::string kPieces[] = {
        test::Gbk("后"), test::Gbk("里"), test::Gbk("干"), test::Gbk("发"), test::Gbk("後"),
        test::Gbk("裏"), test::Gbk("乾"), test::Gbk("皇"), test::Gbk("公"), "\x81",
        "\xD6",         "\x80",         "\xFF",         "A",             "\xA2\xE8"};
    std::string word;
    for (int i = 0; i < pieces; ++i)
        word += kPieces[random() % std::size(kPieces)];
    return word;
}

TEST(FusedChain, RandomGlossariesMatchThePlainChains) {
    // Many overlapping keys of one to six pieces, so that every table of the index is used,
    // and replacements that end in lone lead bytes or hold characters the mapping changes.
    std::mt19937 random(11);
    for (int round = 0; round < 60; ++round) {
        CGlossary glossary;
        const int pairs = 1 + static_cast<int>(random() % (round % 2 == 0 ? 8 : 400));
        for (int n = 0; n < pairs; ++n)
            glossary.Add(RandomWord(random, 1 + static_cast<int>(random() % 6)),
                         RandomWord(random, static_cast<int>(random() % 4)), 1 + random() % 3);
        const Bytes text = RandomWord(random, 400);
        const Bytes big5 = StepByStepGbToBig5(text) + RandomWord(random, 8);
        for (bool first : {true, false}) {
            Bytes fast = text, reference = text;
            TraditionalToSimplified(fast, glossary, true, first);
            plain::TraditionalToSimplified(reference, glossary, true, first);
            ASSERT_EQ(Hex(fast), Hex(reference)) << "to Simplified, round " << round;

            fast = reference = big5;
            Big5ToGb(fast, glossary, true, first);
            plain::Big5ToGb(reference, glossary, true, first);
            ASSERT_EQ(Hex(fast), Hex(reference)) << "BIG5 to GBK, round " << round;
        }
        Bytes fast = text, reference = text;
        SimplifiedToTraditional(fast, glossary, true);
        plain::SimplifiedToTraditional(reference, glossary, true);
        ASSERT_EQ(Hex(fast), Hex(reference)) << "to Traditional, round " << round;

        fast = reference = text;
        GbToBig5(fast, glossary, true);
        plain::GbToBig5(reference, glossary, true);
        ASSERT_EQ(Hex(fast), Hex(reference)) << "GBK to BIG5, round " << round;
    }
}

} // namespace
} // namespace morvane
