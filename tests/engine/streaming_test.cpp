// Streaming: every conversion fed in pieces of every size gives the bytes of its steps run on
// plain iconv over the whole text; and the chunked conversion with progress and stopping.
#include "engine/conversion.h"

#include <functional>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/chinese_map.h"
#include "engine/codepage_iconv.h"
#include "engine/glossary.h"
#include "tests/test_text.h"

namespace morvane {
namespace {

using test::Big5;
using test::FromHex;
using test::Gbk;
using test::Hex;

const CGlossary& SampleGlossary() {
    static const CGlossary glossary = [] {
        CGlossary g;
        // Keys of one, two and three characters that overlap, one ending in a lone lead byte.
        g.LoadText(Gbk("软件<>軟體\r\n中国人>中國人\r\n中>中\r\n国>國\r\n") + "\xD6\xD0\xB9>X\r\n");
        return g;
    }();
    return glossary;
}

Bytes Map(const Bytes& text, bool toTraditional) {
    Bytes out;
    (toTraditional ? MapToTraditional : MapToSimplified)(text, out);
    return out;
}

Bytes Glossary(const Bytes& text, bool toTraditional) {
    Bytes out;
    if (toTraditional)
        SampleGlossary().ApplyToTraditional(text, out);
    else
        SampleGlossary().ApplyToSimplified(text, out);
    return out;
}

Bytes Iconv(Bytes text, int from, int to) {
    ConvertCodePageWithIconv(text, from, to);
    return text;
}

Bytes Marked(Bytes text, int codePage) {
    DecodeLoadedTextWithIconv(text, codePage);
    return text;
}

struct StreamCase {
    const char* name;
    Conversion conversion;
    std::function<Bytes(const Bytes&)> steps; // the same conversion, step by step, whole
};

void PrintTo(const StreamCase& c, std::ostream* os) {
    *os << c.name;
}

Conversion CodePages(int from, int to) {
    Conversion c;
    c.fromCodePage = from;
    c.toCodePage = to;
    c.decodeUtf16Mark = true;
    return c;
}

Conversion Chain(ConversionKind kind, bool glossary, bool glossaryFirst = true) {
    Conversion c;
    c.kind = kind;
    c.glossary = glossary ? &SampleGlossary() : nullptr;
    c.glossaryFirst = glossaryFirst;
    c.decodeUtf16Mark = true;
    return c;
}

std::vector<StreamCase> Cases() {
    using K = ConversionKind;
    return {
        {"Gbk2Big5Table", CodePages(936, 950),
         [](const Bytes& t) { return Iconv(Marked(t, 936), 936, 950); }},
        {"Cp949SwallowingPair", CodePages(949, 65001),
         [](const Bytes& t) { return Iconv(Marked(t, 949), 949, 65001); }},
        {"Utf8ToGbkIconvDecoder", CodePages(65001, 936),
         [](const Bytes& t) { return Iconv(Marked(t, 65001), 65001, 936); }},
        {"HebrewComposingDecoder", CodePages(1255, 65001),
         [](const Bytes& t) { return Iconv(Marked(t, 1255), 1255, 65001); }},
        {"Utf16Surrogates", CodePages(1200, 54936),
         [](const Bytes& t) { return Iconv(Marked(t, 1200), 1200, 54936); }},
        {"Utf7Stateful", CodePages(65000, 936),
         [](const Bytes& t) { return Iconv(Marked(t, 65000), 65000, 936); }},
        {"Iso2022JpShiftingEncoder", CodePages(936, 50220),
         [](const Bytes& t) { return Iconv(Marked(t, 936), 936, 50220); }},
        {"GbToBig5", Chain(K::GbToBig5, false),
         [](const Bytes& t) { return Iconv(Map(Marked(t, 936), true), 936, 950); }},
        {"GbToBig5Glossary", Chain(K::GbToBig5, true),
         [](const Bytes& t) { return Iconv(Map(Glossary(Marked(t, 936), true), true), 936, 950); }},
        {"Big5ToGb", Chain(K::Big5ToGb, false),
         [](const Bytes& t) { return Map(Iconv(Marked(t, 950), 950, 936), false); }},
        {"Big5ToGbGlossaryFirst", Chain(K::Big5ToGb, true, true),
         [](const Bytes& t) {
             return Map(Glossary(Iconv(Marked(t, 950), 950, 936), false), false);
         }},
        {"Big5ToGbGlossaryAfter", Chain(K::Big5ToGb, true, false),
         [](const Bytes& t) {
             return Glossary(Map(Iconv(Marked(t, 950), 950, 936), false), false);
         }},
        {"SimplifiedToTraditional", Chain(K::SimplifiedToTraditional, true),
         [](const Bytes& t) { return Map(Glossary(Marked(t, 936), true), true); }},
        {"TraditionalToSimplifiedAfter", Chain(K::TraditionalToSimplified, true, false),
         [](const Bytes& t) { return Glossary(Map(Marked(t, 936), false), false); }},
    };
}

// Short texts where every cut falls somewhere interesting: inside pairs and glossary keys,
// between a lead byte and a rejected trail, inside surrogate pairs and UTF-7 runs.
std::vector<Bytes> Inputs() {
    return {
        Gbk("中国人软件") + "A\xD6\xD0\xB9" + Gbk("中国") + "\x81\x30\xA2\xE8\x41" + Gbk("国"),
        Big5("軟體中國") + "\xA4" + "B" + Big5("體") + "\xFF\xA4",
        "\xFF\xFE" + FromHex("2d 4e fd 56 3d d8 00 de 00 d8 41 00 00 dc 6f 8f f6 4e 42"),
        "\xFF\xFE" + FromHex("3d d8 00 de 2d 4e"),
        "\xFF",
        "",
        "a+ZeVnLIqe-b+2D3eAA-\xE4\xB8\xAD\xE4\xB8\xF0\xE6",
        FromHex("e0 e9 f0 e5 eb c8 e9 41 f9 c1 cc"),
    };
}

class Streaming : public testing::TestWithParam<StreamCase> {};

TEST_P(Streaming, EveryBlockSizeGivesTheWholeTextsBytes) {
    const StreamCase& c = GetParam();
    for (const Bytes& input : Inputs()) {
        const Bytes expected = c.steps(input);
        for (std::size_t block = 1; block <= input.size() + 1; ++block) {
            const std::unique_ptr<Stage> stage = MakeConversion(c.conversion);
            ASSERT_TRUE(stage);
            Bytes out;
            std::size_t done = 0;
            do {
                const std::string_view piece = std::string_view(input).substr(done, block);
                done += piece.size();
                stage->Push(piece, done == input.size(), out);
            } while (done < input.size());
            ASSERT_EQ(Hex(out), Hex(expected)) << "input " << Hex(input) << ", block " << block;
        }
    }
}

TEST_P(Streaming, RandomCutsOfRandomTextGiveTheWholeTextsBytes) {
    const StreamCase& c = GetParam();
    std::mt19937 random(99);
    const std::string words[] = {Gbk("软件"), Gbk("中国人"), Big5("軟體"), "\xD6\xD0\xB9",
                                 "\xFF\xFE",  "+ZeV-",       "\x81",       "\xA2\xE8",
                                 "\xD8",      "A",           "\n"};
    for (int round = 0; round < 40; ++round) {
        Bytes input = round % 3 == 0 ? "\xFF\xFE" : "";
        for (int i = 0; i < 200; ++i)
            input += words[random() % 11];
        const Bytes expected = c.steps(input);
        const std::unique_ptr<Stage> stage = MakeConversion(c.conversion);
        Bytes out;
        std::size_t done = 0;
        while (done < input.size()) {
            const std::size_t piece = std::min<std::size_t>(1 + random() % 40, input.size() - done);
            stage->Push(std::string_view(input).substr(done, piece), false, out);
            done += piece;
        }
        stage->Push({}, true, out); // the end may also come as an empty piece
        ASSERT_EQ(Hex(out), Hex(expected)) << "round " << round;
    }
}

TEST_P(Streaming, LongTextsInLargePiecesGiveTheWholeTextsBytes)
{
    // Pieces of up to 70,000 bytes, larger than the steps' own slices, with keys, lead bytes,
    // rejected pairs and line feeds right after lead bytes on both sides of every cut.
    const StreamCase& c = GetParam();
    std::mt19937 random(5);
    const std::string words[] = {Gbk("软件"), Gbk("中国人"), Big5("軟體"), "\xD6\xD0\xB9", "\n",
                                 "\xD6\n", "\x81", "\xA2\xE8", "\r\n", "A", "+ZeV-\n"};
    for (int round = 0; round < 6; ++round) {
        Bytes input = round % 3 == 0 ? "\xFF\xFE" : "";
        while (input.size() < 150000)
            input += words[random() % 11];
        const Bytes expected = c.steps(input);
        const std::unique_ptr<Stage> stage = MakeConversion(c.conversion);
        Bytes out;
        std::size_t done = 0;
        while (done < input.size()) {
            const std::size_t piece =
                std::min<std::size_t>(1 + random() % 70000, input.size() - done);
            done += piece;
            stage->Push(std::string_view(input).substr(done - piece, piece),
                        done == input.size(), out);
        }
        ASSERT_EQ(out, expected) << "round " << round;
    }
}

INSTANTIATE_TEST_SUITE_P(Conversions, Streaming, testing::ValuesIn(Cases()),
                         [](const auto& row) { return std::string(row.param.name); });

Bytes LargeGbkText() {
    Bytes text;
    while (text.size() < 3 * (1u << 20))
        text += Gbk("中国人的软件，在这里。\r\n") + "\xD6";
    return text;
}

TEST(ConvertWithProgress, GivesTheWholeConversionAndReportsRisingShares) {
    const Bytes original = LargeGbkText();
    Bytes text = original;
    std::vector<double> shares;
    ASSERT_TRUE(ConvertWithProgress(text, Chain(ConversionKind::GbToBig5, true), [&](double share) {
        shares.push_back(share);
        return true;
    }));
    EXPECT_EQ(text, Iconv(Map(Glossary(original, true), true), 936, 950));
    ASSERT_GE(shares.size(), 3u);
    EXPECT_TRUE(std::is_sorted(shares.begin(), shares.end()));
    EXPECT_EQ(shares.back(), 1.0);
}

TEST(ConvertWithProgress, StopsWhenAskedAndLeavesTheText) {
    const Bytes original = LargeGbkText();
    Bytes text = original;
    int calls = 0;
    EXPECT_FALSE(
        ConvertWithProgress(text, CodePages(936, 950), [&](double) { return ++calls < 2; }));
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(text, original);
}

TEST(ConvertWithProgress, EmptyTextAndUnknownCodePage) {
    Bytes text;
    double last = 0;
    EXPECT_TRUE(
        ConvertWithProgress(text, CodePages(936, 950), [&](double s) { return last = s, true; }));
    EXPECT_EQ(last, 1.0);
    text = "abc";
    EXPECT_FALSE(ConvertWithProgress(text, CodePages(936, 4242), {}));
    EXPECT_EQ(text, "abc");
}

} // namespace
} // namespace morvane
