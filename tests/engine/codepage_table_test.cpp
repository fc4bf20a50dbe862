// The table paths against plain iconv: every byte, every pair in several contexts, random
// byte soup and every character of the Basic Multilingual Plane, for each table code page.
#include "engine/codepage.h"

#include <random>
#include <string>

#include <gtest/gtest.h>

#include "engine/codepage_iconv.h"
#include "engine/codepage_table.h"
#include "tests/test_text.h"

namespace morvane {
namespace {

using test::Hex;

const int kTableCodePages[] = {874,  932,  936,  949,  950,  1250, 1251, 1252,
                               1253, 1254, 1255, 1256, 1257, 1258, 1361};

// Converts both ways and expects the same bytes; on a difference, names the first one.
void ExpectSameAsIconv(const std::string& text, int from, int to, const std::string& what) {
    std::string tables = text;
    std::string reference = text;
    ASSERT_TRUE(ConvertCodePage(tables, from, to));
    ASSERT_TRUE(ConvertCodePageWithIconv(reference, from, to));
    if (tables == reference)
        return;
    std::size_t at = 0;
    while (at < tables.size() && at < reference.size() && tables[at] == reference[at])
        ++at;
    const std::size_t from16 = at < 16 ? 0 : at - 16;
    FAIL() << what << ": " << from << " -> " << to << " differs at output byte " << at
           << "\n tables: " << Hex(tables.substr(from16, 32))
           << "\n iconv:  " << Hex(reference.substr(from16, 32));
}

std::string Byte(unsigned b) {
    return std::string(1, static_cast<char>(b));
}

// Every byte alone, before ASCII, after ASCII and at the very end.
std::string EveryByte() {
    std::string text;
    for (unsigned b = 0; b < 256; ++b)
        text += Byte(b) + "A" + Byte(b) + "\n";
    return text;
}

// Every lead byte with every next byte: followed by ASCII, and back to back so that a rejected
// pair shifts where the following pairs start.
std::string EveryPair(bool backToBack) {
    std::string text;
    for (unsigned lead = 0x80; lead < 256; ++lead)
        for (unsigned next = 0; next < 256; ++next)
            text += Byte(lead) + Byte(next) + (backToBack ? "" : "A");
    return text;
}

// Random bytes, half of them from the lead byte range so that pairs are frequent.
std::string Soup(std::mt19937& random, std::size_t size) {
    std::string text;
    for (std::size_t i = 0; i < size; ++i) {
        const unsigned r = random();
        text += Byte(r % 2 == 0 ? (r >> 8) % 256 : 0x81 + (r >> 8) % 0x7E);
    }
    return text;
}

class TableCodePage : public testing::TestWithParam<int> {};

TEST_P(TableCodePage, DecodesEveryByteAndPairAsIconv) {
    const int cp = GetParam();
    ExpectSameAsIconv(EveryByte(), cp, kCodePageUtf8, "every byte");
    ExpectSameAsIconv(EveryPair(false), cp, kCodePageUtf8, "every pair before ASCII");
    ExpectSameAsIconv(EveryPair(true), cp, kCodePageUtf8, "every pair back to back");
}

TEST_P(TableCodePage, LeadByteAtTheEndAsIconv) {
    const int cp = GetParam();
    for (unsigned b = 0; b < 256; ++b) {
        ExpectSameAsIconv(Byte(b), cp, kCodePageUtf8, "one byte " + std::to_string(b));
        ExpectSameAsIconv("A" + Byte(b), cp, kCodePageUtf8, "last byte " + std::to_string(b));
        ExpectSameAsIconv(Byte(b) + Byte(b), cp, kCodePageUtf8, "twice " + std::to_string(b));
    }
}

TEST_P(TableCodePage, EveryPairAtTheEndAsIconv) {
    // A pair that iconv rejects only after reading it (CP949's A2 E8) skips the byte after it,
    // so what ends the text matters.
    const int cp = GetParam();
    for (unsigned lead = 0x80; lead < 256; ++lead)
        for (unsigned next = 0; next < 256; ++next)
            ExpectSameAsIconv("A" + Byte(lead) + Byte(next), cp, 65001, "pair at the end");
}

TEST_P(TableCodePage, EncodesEveryCharacterAsIconv) {
    // Every code point but the surrogates, as UTF-32LE, and some beyond the plane.
    std::string text;
    auto put = [&](char32_t c) {
        for (int i = 0; i < 4; ++i)
            text += Byte((c >> (8 * i)) & 0xFF);
    };
    for (char32_t c = 0; c < 0x10000; ++c)
        if (c < 0xD800 || c > 0xDFFF)
            put(c);
    for (char32_t c : {0x10000u, 0x20000u, 0x2A6D6u, 0x1F600u, 0x10FFFFu})
        put(c);
    ExpectSameAsIconv(text, 12000, GetParam(), "every character");
}

TEST_P(TableCodePage, ConvertsToEveryOtherTableCodePageAsIconv) {
    const int cp = GetParam();
    std::mt19937 random(static_cast<unsigned>(cp));
    const std::string pairs = EveryPair(false);
    for (int to : kTableCodePages) {
        ExpectSameAsIconv(Soup(random, 20000), cp, to, "soup");
        ExpectSameAsIconv(pairs, cp, to, "every pair");
    }
}

TEST_P(TableCodePage, RandomSoupAsIconvThroughUnicodeForms) {
    const int cp = GetParam();
    std::mt19937 random(static_cast<unsigned>(cp) * 7);
    for (int round = 0; round < 20; ++round) {
        const std::string soup = Soup(random, 1 + random() % 5000);
        ExpectSameAsIconv(soup, cp, kCodePageUtf8, "soup to UTF-8");
        ExpectSameAsIconv(soup, cp, 1200, "soup to UTF-16LE");
        std::string utf8 = soup;
        ConvertCodePageWithIconv(utf8, cp, kCodePageUtf8);
        ExpectSameAsIconv(utf8, kCodePageUtf8, cp, "its UTF-8 back");
    }
}

TEST_P(TableCodePage, Utf16FileDecodesAsIconv) {
    const int cp = GetParam();
    std::mt19937 random(static_cast<unsigned>(cp) * 13);
    for (int round = 0; round < 20; ++round) {
        std::string file = "\xFF\xFE";
        const std::size_t units = random() % 3000;
        for (std::size_t i = 0; i < units; ++i) {
            const unsigned r = random();
            // CJK, Latin, surrogates (paired or not) and anything.
            const unsigned unit = r % 4 == 0   ? 0x4E00 + (r >> 8) % 0x5200
                                  : r % 4 == 1 ? (r >> 8) % 0x250
                                  : r % 4 == 2 ? 0xD800 + (r >> 8) % 0x800
                                               : (r >> 8) % 0x10000;
            file += Byte(unit & 0xFF) + Byte(unit >> 8);
        }
        if (random() % 2 == 0)
            file += Byte(random() % 256); // an odd last byte
        std::string tables = file;
        std::string reference = file;
        ASSERT_TRUE(DecodeLoadedText(tables, cp));
        ASSERT_TRUE(DecodeLoadedTextWithIconv(reference, cp));
        ASSERT_EQ(Hex(tables), Hex(reference)) << "round " << round;
    }
}

INSTANTIATE_TEST_SUITE_P(Offered, TableCodePage, testing::ValuesIn(kTableCodePages),
                         [](const auto& row) { return "cp" + std::to_string(row.param); });

TEST(CodePageTables, StatefulDecodersStayOnIconv) {
    // iconv composes Hebrew and Vietnamese marks with the letter before them.
    EXPECT_EQ(DecodeTableFor(1255), nullptr);
    EXPECT_EQ(DecodeTableFor(1258), nullptr);
    EXPECT_NE(DecodeTableFor(936), nullptr);
    EXPECT_NE(EncodeTableFor(950), nullptr);
    EXPECT_EQ(DecodeTableFor(65001), nullptr); // only the offered code pages get tables
}

} // namespace
} // namespace morvane
