// Streaming: every conversion fed in pieces of every size gives the bytes of its steps run on
// plain iconv over the whole text; and the chunked conversion with progress and stopping.
#include "engine/conversion.h"

#include <functional>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/chinese_chain.h"
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

// The plain chain over the sample glossary, whole.
template <typename Chain> auto Plain(int codePage, Chain chain) {
    return [codePage, chain](const Bytes& t) {
        Bytes text = Marked(t, codePage);
        chain(text, SampleGlossary());
        return text;
    };
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
         Plain(936, [](Bytes& t, const CGlossary& g) { plain::GbToBig5(t, g, true); })},
        {"Big5ToGb", Chain(K::Big5ToGb, false),
         [](const Bytes& t) { return Map(Iconv(Marked(t, 950), 950, 936), false); }},
        {"Big5ToGbGlossaryFirst", Chain(K::Big5ToGb, true, true),
         Plain(950, [](Bytes& t, const CGlossary& g) { plain::Big5ToGb(t, g, true, true); })},
        {"Big5ToGbGlossaryAfter", Chain(K::Big5ToGb, true, false),
         [](const Bytes& t) {
             return Glossary(Map(Iconv(Marked(t, 950), 950, 936), false), false);
         }},
        {"SimplifiedToTraditional", Chain(K::SimplifiedToTraditional, true),
         Plain(936,
               [](Bytes& t, const CGlossary& g) { plain::SimplifiedToTraditional(t, g, true); })},
        {"TraditionalToSimplifiedFirst", Chain(K::TraditionalToSimplified, true, true),
         Plain(936, [](Bytes& t, const CGlossary& g) {
             plain::TraditionalToSimplified(t, g, true, true);
         })},
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

// Pieces of words and texts: characters the mapping changes (后 里 发 国) and ones it keeps,
// lone lead bytes, the bytes 0x80 and 0xFF that the glossary pairs and the mapping does not,
// and ASCII.
const std::vector<std::string>& Pieces() {
    static const std::vector<std::string> pieces = {
        Gbk("后"), Gbk("里"), Gbk("发"), Gbk("国"), Gbk("後"), Gbk("裏"), Gbk("皇"), Gbk("公"),
        "\x81",   "\xD6",   "\x80",   "\xFF",   "A",       "\n",     "\xA2\xE8"};
    return pieces;
}

std::string RandomText(std::mt19937& random, int pieces) {
    std::string text;
    for (int i = 0; i < pieces; ++i)
        text += Pieces()[random() % Pieces().size()];
    return text;
}

// Keys of one to three pieces (some up to six, longer than the index keeps in place),
// replacements of none to three (some up to six), ending in a lone lead byte or holding
// characters the mapping would change, in both directions.
CGlossary RandomGlossary(std::mt19937& random) {
    CGlossary glossary;
    const int pairs = 1 + static_cast<int>(random() % 12);
    for (int n = 0; n < pairs; ++n) {
        const unsigned keyPieces = n % 3 == 2 ? 6 : 3;
        const unsigned replacementPieces = n % 2 == 1 ? 7 : 4;
        std::string simplified = RandomText(random, 1 + static_cast<int>(random() % keyPieces));
        std::string traditional = RandomText(random, static_cast<int>(random() % replacementPieces));
        if (random() % 2 == 0)
            simplified.swap(traditional);
        glossary.Add(simplified, traditional, 1 + random() % 3);
    }
    return glossary;
}

TEST(StreamingWithRandomGlossaries, EveryBlockSizeGivesThePlainChainsBytes) {
    using K = ConversionKind;
    struct Row {
        K kind;
        int codePage; // the source's
        void (*plain)(Bytes&, const CGlossary&);
    };
    const Row rows[] = {
        {K::GbToBig5, 936, [](Bytes& t, const CGlossary& g) { plain::GbToBig5(t, g, true); }},
        {K::SimplifiedToTraditional, 936,
         [](Bytes& t, const CGlossary& g) { plain::SimplifiedToTraditional(t, g, true); }},
        {K::Big5ToGb, 950, [](Bytes& t, const CGlossary& g) { plain::Big5ToGb(t, g, true, true); }},
        {K::TraditionalToSimplified, 936,
         [](Bytes& t, const CGlossary& g) { plain::TraditionalToSimplified(t, g, true, true); }},
    };
    std::mt19937 random(31);
    for (int round = 0; round < 40; ++round) {
        const CGlossary glossary = RandomGlossary(random);
        for (const Row& row : rows) {
            Bytes input = RandomText(random, 30);
            if (row.codePage == 950)
                input = Iconv(input, 936, 950) + RandomText(random, 4);
            Bytes expected = input;
            row.plain(expected, glossary);
            Conversion conversion;
            conversion.kind = row.kind;
            conversion.glossary = &glossary;
            for (std::size_t block = 1; block <= input.size() + 1; ++block) {
                const std::unique_ptr<Stage> stage = MakeConversion(conversion);
                Bytes out;
                std::size_t done = 0;
                do {
                    const std::string_view piece = std::string_view(input).substr(done, block);
                    done += piece.size();
                    stage->Push(piece, done == input.size(), out);
                } while (done < input.size());
                ASSERT_EQ(Hex(out), Hex(expected)) << "round " << round << ", kind "
                                                   << static_cast<int>(row.kind) << ", input "
                                                   << Hex(input) << ", block " << block;
            }
        }
    }
}

TEST(StreamingWithRandomGlossaries, PiecesWalkedOnTwoThreadsGiveThePlainChainsBytes) {
    // Pieces of hundreds of kilobytes are cut after two bytes below 0x80 and walked on two
    // threads; the random texts put every kind of byte before such cuts. Keys holding "AA"
    // or "A\n" keep the walk on one thread, and those glossaries come up too.
    using K = ConversionKind;
    struct Row {
        K kind;
        void (*plain)(Bytes&, const CGlossary&);
    };
    const Row rows[] = {
        {K::GbToBig5, [](Bytes& t, const CGlossary& g) { plain::GbToBig5(t, g, true); }},
        {K::SimplifiedToTraditional,
         [](Bytes& t, const CGlossary& g) { plain::SimplifiedToTraditional(t, g, true); }},
        {K::TraditionalToSimplified,
         [](Bytes& t, const CGlossary& g) { plain::TraditionalToSimplified(t, g, true, true); }},
    };
    std::mt19937 random(43);
    // Keys with a single byte below 0x80 inside, which a cut after one such byte would split.
    CGlossary acrossOneByte;
    acrossOneByte.LoadText(Gbk("后A里>甲\r\n里\n发>乙\r\n发A>丙\r\n"));
    const std::string keyWords[] = {Gbk("后A里"), Gbk("里\n发"), Gbk("发A"), "\r\n"};
    for (int round = 0; round < 8; ++round) {
        const bool keysAcross = round % 2 == 0;
        const CGlossary glossary = keysAcross ? acrossOneByte : RandomGlossary(random);
        Bytes input;
        while (input.size() < 600000)
            input += keysAcross ? keyWords[random() % 4] : RandomText(random, 1);
        for (const Row& row : rows) {
            Bytes expected = input;
            row.plain(expected, glossary);
            Conversion conversion;
            conversion.kind = row.kind;
            conversion.glossary = &glossary;
            const std::unique_ptr<Stage> stage = MakeConversion(conversion);
            Bytes out;
            std::size_t done = 0;
            while (done < input.size()) {
                const std::size_t piece =
                    std::min<std::size_t>(100000 + random() % 500000, input.size() - done);
                done += piece;
                stage->Push(std::string_view(input).substr(done - piece, piece),
                            done == input.size(), out);
            }
            ASSERT_EQ(test::FirstDifference(out, expected), "")
                << "round " << round << ", kind " << static_cast<int>(row.kind);
        }
    }
}

// Keys of two to six characters (some with a letter after them, some of one character) over
// thirty characters: hundreds of prefixes share their four bytes with several longer keys, and
// some of the index's buckets overflow into the next.
CGlossary ThousandsOfKeys(std::mt19937& random, bool oneCharacterKeys) {
    const std::string characters = Gbk("的一是不了人我在有他这中大来上国个到说们为子和你地出道也时年得就");
    const auto word = [&](unsigned lengthFrom, unsigned lengthTo) {
        std::string w;
        const unsigned length = lengthFrom + random() % (lengthTo - lengthFrom + 1);
        for (unsigned c = 0; c < length; ++c)
            w += characters.substr(2 * (random() % (characters.size() / 2)), 2);
        return w;
    };
    CGlossary glossary;
    for (int n = 0; n < 1500; ++n) {
        std::string key = word(oneCharacterKeys && n % 50 == 0 ? 1 : 2, 6);
        if (n % 7 == 0)
            key += 'a';
        glossary.Add(key, word(1, 6), GLOSSARY_TO_TRADITIONAL);
    }
    return glossary;
}

TEST(StreamingWithRandomGlossaries, ThousandsOfKeysGiveThePlainChainsBytes) {
    using K = ConversionKind;
    std::mt19937 random(53);
    for (const bool oneCharacterKeys : {false, true}) {
        const CGlossary glossary = ThousandsOfKeys(random, oneCharacterKeys);
        const std::string characters = Gbk("的一是不了人我在有他这中大来上国个到说们为子和你");
        Bytes input;
        while (input.size() < 40000)
            input += random() % 16 == 0
                         ? std::string("a\r\n")
                         : characters.substr(2 * (random() % (characters.size() / 2)), 2);
        for (const K kind : {K::GbToBig5, K::SimplifiedToTraditional}) {
            Bytes expected = input;
            if (kind == K::GbToBig5)
                plain::GbToBig5(expected, glossary, true);
            else
                plain::SimplifiedToTraditional(expected, glossary, true);
            Conversion conversion;
            conversion.kind = kind;
            conversion.glossary = &glossary;
            for (const std::size_t block : {std::size_t{1000}, std::size_t{7919}, input.size()}) {
                const std::unique_ptr<Stage> stage = MakeConversion(conversion);
                Bytes out;
                for (std::size_t done = 0; done < input.size(); done += block)
                    stage->Push(std::string_view(input).substr(done, block),
                                done + block >= input.size(), out);
                ASSERT_EQ(test::FirstDifference(out, expected), "")
                    << "one-character keys " << oneCharacterKeys << ", kind "
                    << static_cast<int>(kind) << ", block " << block;
            }
        }
    }
}

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
    Bytes expected = original;
    plain::GbToBig5(expected, SampleGlossary(), true);
    EXPECT_EQ(text, expected);
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
